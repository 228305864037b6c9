#include "whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iterator>
#include <random>
#include <system_error>
#include <utility>

#include "descriptor_buffer.h"
#include "errors.h"
#include "utf8_path.h"

#if defined(_WIN32)
#include <io.h>
#include <share.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vd {
namespace {

std::string randomTemporaryName(const std::filesystem::path& target) {
    thread_local std::mt19937_64 random{std::random_device{}()};
    static constexpr char hex[] = "0123456789abcdef";
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) on literal + string.
    std::string name(1, '.');
    name += utf8Text(target.filename());
    name += '.';
    for (std::uint64_t bits = random(), i = 0; i < 12; ++i, bits >>= 4) name += hex[bits & 15];
    name += ".tmp";
    return name;
}

#if defined(_WIN32)
int openExclusive(const std::filesystem::path& path, const std::filesystem::path&) {
    int fd = -1;
    const errno_t e =
        _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _SH_DENYNO, _S_IREAD | _S_IWRITE);
    if (e != 0) errno = e;
    return e == 0 ? fd : -1;
}
int flushToDisk(int fd) {
    return _commit(fd);
}
int closeFile(int fd) {
    return _close(fd);
}
std::error_code renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return {static_cast<int>(GetLastError()), std::system_category()};
}
void flushFolder(const std::filesystem::path&) {}
#else
// A new file takes the permissions of the one it replaces, so saving keeps them.
int openExclusive(const std::filesystem::path& path, const std::filesystem::path& target) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    struct stat existing {};
    if (fd >= 0 && ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
        ::fchmod(fd, existing.st_mode & 07777);
    return fd;
}
int flushToDisk(int fd) {
    return ::fsync(fd);
}
int closeFile(int fd) {
    return ::close(fd);
}
std::error_code renameOver(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return {};
    return {errno, std::generic_category()};
}
// The new name itself reaches the disk with its folder; a folder that cannot be flushed
// (some network file systems) still holds the complete file.
void flushFolder(const std::filesystem::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}
#endif

}  // namespace

// The descriptor's buffer, and the descriptor itself until it is closed.
class WholeFileWriter::Buffer : public DescriptorBuffer {
  public:
    explicit Buffer(int fd) : DescriptorBuffer(fd), open_(true) {}
    ~Buffer() override { closeQuietly(); }
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;

    // Flushes what is buffered, then the file to the disk, then closes it; the first
    // failure's errno, or 0.
    int finish() {
        pubsync();
        int failure = error();
        if (failure == 0 && flushToDisk(descriptor()) != 0) failure = errno;
        open_ = false;
        if (closeFile(descriptor()) != 0 && failure == 0) failure = errno;
        return failure;
    }

    void closeQuietly() {
        if (std::exchange(open_, false)) closeFile(descriptor());
    }

  private:
    bool open_;
};

std::string cannotWriteMessage(const std::filesystem::path& target, const std::error_code& error) {
    return "Cannot write \"" + utf8Text(target) + "\": " + error.message();
}

WholeFileWriter::WholeFileWriter(std::filesystem::path target,
                                 std::function<std::string()> temporaryNames)
    : target_(std::move(target)) {
    const std::filesystem::path folder = target_.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = temporaryNames ? temporaryNames() : randomTemporaryName(target_);
        temporary_ = folder / pathFromUtf8(name);
        const int fd = openExclusive(temporary_, target_);
        if (fd >= 0) {
            buffer_ = std::make_unique<Buffer>(fd);
            stream_ = std::make_unique<std::ostream>(buffer_.get());
            return;
        }
        if (errno != EEXIST) break;
    }
    const int error = errno;
    temporary_.clear();
    throw Error(ErrorCode::inOut,
                cannotWriteMessage(target_, std::error_code(error, std::generic_category())));
}

WholeFileWriter::~WholeFileWriter() {
    if (settled_ || !buffer_) return;
    buffer_->closeQuietly();
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
}

std::ostream& WholeFileWriter::stream() {
    return *stream_;
}

void WholeFileWriter::fail(const std::error_code& error) {
    buffer_->closeQuietly();
    std::error_code ignored;
    std::filesystem::remove(temporary_, ignored);
    settled_ = true;
    throw Error(ErrorCode::inOut, cannotWriteMessage(target_, error));
}

void WholeFileWriter::commit() {
    if (const int error = buffer_->finish()) fail(std::error_code(error, std::generic_category()));
    if (const std::error_code error = renameOver(temporary_, target_)) fail(error);
    settled_ = true;
    flushFolder(target_.parent_path());
}

void writeWholeFile(const std::filesystem::path& target, std::string_view bytes) {
    WholeFileWriter file(target);
    file.write(bytes);
    file.commit();
}

}  // namespace vd
