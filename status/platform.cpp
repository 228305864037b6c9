#include "platform.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#endif

namespace statusplat {

#ifdef _WIN32

PipeHandle StdInputHandle() {
    return reinterpret_cast<PipeHandle>(GetStdHandle(STD_INPUT_HANDLE));
}
PipeHandle StdOutputHandle() {
    return reinterpret_cast<PipeHandle>(GetStdHandle(STD_OUTPUT_HANDLE));
}

bool PeekPipe(PipeHandle h, std::size_t* available) {
    DWORD avail = 0;
    if (!PeekNamedPipe(reinterpret_cast<HANDLE>(h), nullptr, 0, nullptr, &avail, nullptr))
        return false;
    *available = avail;
    return true;
}

std::size_t ReadPipe(PipeHandle h, char* buffer, std::size_t count) {
    DWORD got = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(h), buffer, static_cast<DWORD>(count), &got, nullptr))
        return 0;
    return got;
}

bool WritePipe(PipeHandle h, const char* data, std::size_t count) {
    DWORD written = 0;
    return WriteFile(reinterpret_cast<HANDLE>(h), data, static_cast<DWORD>(count), &written,
                     nullptr) != 0;
}

void SleepMs(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

ProcessHandle ProcessHandle::Open(std::int32_t processId) {
    ProcessHandle p;
    if (processId == 0) return p;
    HANDLE h = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE,
                           static_cast<DWORD>(processId));
    if (h == nullptr) return p;
    p.pid_ = processId;
    p.handle_ = reinterpret_cast<std::intptr_t>(h);
    p.open_ = true;
    return p;
}

bool ProcessHandle::QueryExitCode(std::uint32_t* exitCode) const {
    if (!open_) return false;
    DWORD code = 0;
    if (!GetExitCodeProcess(reinterpret_cast<HANDLE>(handle_), &code)) return false;
    *exitCode = code;
    return true;
}

bool ProcessHandle::Terminate(std::uint32_t exitCode) const {
    if (!open_) return false;
    return TerminateProcess(reinterpret_cast<HANDLE>(handle_), exitCode) != 0;
}

void ProcessHandle::Close() {
    if (open_) CloseHandle(reinterpret_cast<HANDLE>(handle_));
    open_ = false;
    handle_ = -1;
    pid_ = 0;
}

void IgnoreBrokenPipeSignal() {}

#else  // Linux and other POSIX systems

PipeHandle StdInputHandle() {
    return STDIN_FILENO;
}
PipeHandle StdOutputHandle() {
    return STDOUT_FILENO;
}

bool PeekPipe(PipeHandle h, std::size_t* available) {
    if (h < 0) return false;
    struct stat st {};
    if (fstat(static_cast<int>(h), &st) != 0) return false;
    if (!S_ISFIFO(st.st_mode) && !S_ISSOCK(st.st_mode)) return false;
    int n = 0;
    if (ioctl(static_cast<int>(h), FIONREAD, &n) != 0 || n < 0) return false;
    *available = static_cast<std::size_t>(n);
    return true;
}

std::size_t ReadPipe(PipeHandle h, char* buffer, std::size_t count) {
    std::size_t got = 0;
    while (got < count) {
        ssize_t r = ::read(static_cast<int>(h), buffer + got, count - got);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) break;
        got += static_cast<std::size_t>(r);
    }
    return got;
}

bool WritePipe(PipeHandle h, const char* data, std::size_t count) {
    if (h < 0) return false;
    std::size_t done = 0;
    while (done < count) {
        ssize_t r = ::write(static_cast<int>(h), data + done, count - done);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return done > 0;
        done += static_cast<std::size_t>(r);
    }
    return true;
}

void SleepMs(int ms) {
    struct timespec ts {};
    ts.tv_sec = ms / 1000;
    ts.tv_nsec = static_cast<long>(ms % 1000) * 1000000L;
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

namespace {

int OpenPidfd(pid_t pid) {
#ifdef SYS_pidfd_open
    long fd = syscall(SYS_pidfd_open, pid, 0);
    if (fd >= 0) {
        fcntl(static_cast<int>(fd), F_SETFD, FD_CLOEXEC);
        return static_cast<int>(fd);
    }
#else
    (void)pid;
#endif
    return -1;
}

// True when /proc says the process is a zombie (it has exited, nobody reaped it yet).
bool IsZombie(pid_t pid) {
    char path[64];
    std::snprintf(path, sizeof path, "/proc/%d/stat", static_cast<int>(pid));
    FILE* f = std::fopen(path, "r");
    if (f == nullptr) return false;
    char buf[512];
    std::size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    buf[n] = '\0';
    const char* close = std::strrchr(buf, ')');  // the command name may hold blanks and ')'
    return close != nullptr && close[1] == ' ' && close[2] == 'Z';
}

// The exit code of an unreaped child of ours, without reaping it; 0 for any other process.
std::uint32_t ExitCodeOf(pid_t pid) {
    siginfo_t info;
    std::memset(&info, 0, sizeof info);
    if (waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
        info.si_pid == pid) {
        if (info.si_code == CLD_EXITED) return static_cast<std::uint32_t>(info.si_status);
        return 128u + static_cast<std::uint32_t>(info.si_status);
    }
    return 0;
}

}  // namespace

ProcessHandle ProcessHandle::Open(std::int32_t processId) {
    ProcessHandle p;
    if (processId <= 0) return p;  // 0: no parent; negative ids name process groups in kill()
    // The rights to query and to terminate: we must be allowed to signal the process.
    if (kill(static_cast<pid_t>(processId), 0) != 0) return p;
    p.pid_ = processId;
    p.handle_ = OpenPidfd(static_cast<pid_t>(processId));
    p.open_ = true;
    return p;
}

bool ProcessHandle::QueryExitCode(std::uint32_t* exitCode) const {
    if (!open_) return false;
    bool exited = false;
    if (handle_ >= 0) {
        struct pollfd pfd {};
        pfd.fd = static_cast<int>(handle_);
        pfd.events = POLLIN;
        int r = ::poll(&pfd, 1, 0);
        if (r < 0) return false;
        exited = r > 0;  // a pidfd becomes readable when the process terminates
    } else {
        if (kill(static_cast<pid_t>(pid_), 0) != 0) {
            if (errno != ESRCH) return false;
            exited = true;
        } else {
            exited = IsZombie(static_cast<pid_t>(pid_));
        }
    }
    *exitCode = exited ? ExitCodeOf(static_cast<pid_t>(pid_)) : kStillActive;
    return true;
}

bool ProcessHandle::Terminate(std::uint32_t /*exitCode*/) const {
    if (!open_) return false;
#ifdef SYS_pidfd_send_signal
    if (handle_ >= 0) {
        if (syscall(SYS_pidfd_send_signal, static_cast<int>(handle_), SIGKILL, nullptr, 0) == 0)
            return true;
        if (errno != ENOSYS) return false;
    }
#endif
    return kill(static_cast<pid_t>(pid_), SIGKILL) == 0;
}

void ProcessHandle::Close() {
    if (open_ && handle_ >= 0) ::close(static_cast<int>(handle_));
    open_ = false;
    handle_ = -1;
    pid_ = 0;
}

void IgnoreBrokenPipeSignal() {
    std::signal(SIGPIPE, SIG_IGN);
}

#endif

ProcessHandle::~ProcessHandle() {
    Close();
}

ProcessHandle::ProcessHandle(ProcessHandle&& other) noexcept
    : pid_(std::exchange(other.pid_, 0)),
      handle_(std::exchange(other.handle_, -1)),
      open_(std::exchange(other.open_, false)) {}

ProcessHandle& ProcessHandle::operator=(ProcessHandle&& other) noexcept {
    if (this != &other) {
        Close();
        pid_ = std::exchange(other.pid_, 0);
        handle_ = std::exchange(other.handle_, -1);
        open_ = std::exchange(other.open_, false);
    }
    return *this;
}

bool ProcessHandle::valid() const {
    return open_;
}

}  // namespace statusplat
