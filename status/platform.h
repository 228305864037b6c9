// The status monitor's small platform layer: the few process and pipe calls that
// the status monitor expects (GetStdHandle, PeekNamedPipe, ReadFile, WriteFile, Sleep,
// OpenProcess, GetExitCodeProcess, TerminateProcess), written for Linux with a
// Windows branch that makes the real calls.
#pragma once

#include <cstddef>
#include <cstdint>

namespace statusplat {

// Exit status of a process that is still running (Windows' STILL_ACTIVE).
inline constexpr std::uint32_t kStillActive = 259;

// A pipe or file handle: a file descriptor on Linux, a HANDLE on Windows; -1 for none.
using PipeHandle = std::intptr_t;
inline constexpr PipeHandle kNoPipe = -1;

PipeHandle StdInputHandle();
PipeHandle StdOutputHandle();

// PeekNamedPipe with no buffer: true and the number of bytes waiting when the handle
// is a pipe (on Linux: a FIFO or a socket) that could be queried; false otherwise
// (a console, a file, nothing, an error).
bool PeekPipe(PipeHandle h, std::size_t* available);

// ReadFile of exactly `count` bytes into `buffer` (at most `count` bytes are stored);
// returns the number of bytes read, 0 on failure. The caller does not check it.
std::size_t ReadPipe(PipeHandle h, char* buffer, std::size_t count);

// WriteFile; returns false when nothing could be written (not connected, broken pipe).
bool WritePipe(PipeHandle h, const char* data, std::size_t count);

// Sleep for the given number of milliseconds.
void SleepMs(int ms);

// A process opened with the rights to query its exit status and to terminate it.
// valid() plays the part of "handle greater than 0".
class ProcessHandle {
  public:
    ProcessHandle() = default;
    ~ProcessHandle();
    ProcessHandle(const ProcessHandle&) = delete;
    ProcessHandle& operator=(const ProcessHandle&) = delete;
    ProcessHandle(ProcessHandle&& other) noexcept;
    ProcessHandle& operator=(ProcessHandle&& other) noexcept;

    // OpenProcess: an invalid handle when the id is 0 or the process cannot be opened
    // (it does not exist or may not be signalled by us).
    static ProcessHandle Open(std::int32_t processId);

    bool valid() const;
    std::int32_t processId() const { return pid_; }

    // GetExitCodeProcess: false when the query fails (no valid handle); otherwise
    // *exitCode is kStillActive while the process runs, else its exit code (on Linux the
    // real code only for an unreaped child of ours, 128 + signal for one that was
    // killed, and 0 for any other process, whose code cannot be known).
    bool QueryExitCode(std::uint32_t* exitCode) const;

    // TerminateProcess: on Linux SIGKILL (the exit code cannot be chosen there).
    bool Terminate(std::uint32_t exitCode) const;

  private:
    void Close();
    std::int32_t pid_ = 0;
    std::intptr_t handle_ =
        -1;  // pidfd on Linux (-1 when pidfd_open is missing), HANDLE on Windows
    bool open_ = false;
};

// On Linux a write to a closed pipe raises SIGPIPE; the monitor ignores it so that a
// failed reply write is without effect.
void IgnoreBrokenPipeSignal();

}  // namespace statusplat
