// Files the program writes are whole or absent: the bytes go to a temporary file beside
// the target, created exclusively (a symlink planted under its name is never followed),
// and only a complete, flushed file is renamed over the target. A failure removes the
// temporary, leaves the target as it was and says which file and why.
#pragma once

#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <string>
#include <string_view>
#include <system_error>

namespace vd {

class WholeFileWriter {
  public:
    // Makes the temporary beside `target`. `temporaryNames` gives candidate file names
    // (tests plant files under them); by default they are random. Throws an input-output error.
    explicit WholeFileWriter(std::filesystem::path target,
                             std::function<std::string()> temporaryNames = {});
    ~WholeFileWriter();  // removes the temporary unless committed
    WholeFileWriter(const WholeFileWriter&) = delete;
    WholeFileWriter& operator=(const WholeFileWriter&) = delete;

    // Where the bytes go; a failed write is kept and reported by commit().
    std::ostream& stream();
    void write(std::string_view bytes) { stream().write(bytes.data(), std::ssize(bytes)); }

    // Flushes the bytes to the disk and renames the temporary over the target. Throws
    // input-output error ("Cannot write "PATH": <the system's reason>") after removing the
    // temporary.
    void commit();

    const std::filesystem::path& target() const { return target_; }
    const std::filesystem::path& temporary() const { return temporary_; }

  private:
    class Buffer;
    [[noreturn]] void fail(const std::error_code& error);

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::unique_ptr<Buffer> buffer_;
    std::unique_ptr<std::ostream> stream_;
    bool settled_ = false;  // renamed into place, or failed and removed
};

// The whole of `bytes` as the file `target`, whole or not at all. Throws an input-output error.
void writeWholeFile(const std::filesystem::path& target, std::string_view bytes);

// "Cannot write "PATH": REASON", the message of every failed write.
std::string cannotWriteMessage(const std::filesystem::path& target, const std::error_code& error);

}  // namespace vd
