// A stream buffer over an open file descriptor: writes go out in large pieces, and the
// reason of the first write the system refuses is kept, so that whoever checks the stream
// afterwards can say why ("No space left on device") long after errno has moved on.
#pragma once

#include <array>
#include <streambuf>

namespace vd {

class DescriptorBuffer : public std::streambuf {
  public:
    explicit DescriptorBuffer(int fd);  // the descriptor stays the caller's
    DescriptorBuffer(const DescriptorBuffer&) = delete;
    DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;

    // errno of the first refused write; 0 while none was.
    int error() const { return error_; }
    int descriptor() const { return fd_; }

  protected:
    int_type overflow(int_type ch) override;
    int sync() override;

  private:
    bool drain();

    int fd_;
    int error_ = 0;
    std::array<char, 1 << 16> bytes_{};
};

}  // namespace vd
