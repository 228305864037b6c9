#include "descriptor_buffer.h"

#include <algorithm>
#include <cerrno>
#include <cstddef>

#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace vd {
namespace {

long writeSome(int fd, const char* data, std::size_t size) {
#if defined(_WIN32)
    return _write(fd, data, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
#else
    return ::write(fd, data, size);
#endif
}

}  // namespace

DescriptorBuffer::DescriptorBuffer(int fd) : fd_(fd) {
    setp(bytes_.data(), bytes_.data() + bytes_.size());
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type ch) {
    if (!drain()) return traits_type::eof();
    if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
    *pptr() = traits_type::to_char_type(ch);
    pbump(1);
    return ch;
}

int DescriptorBuffer::sync() {
    return drain() ? 0 : -1;
}

bool DescriptorBuffer::drain() {
    const char* at = pbase();
    while (error_ == 0 && at < pptr()) {
        const long n = writeSome(fd_, at, static_cast<std::size_t>(pptr() - at));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0)
            error_ = n < 0 ? errno : EIO;
        else
            at += n;
    }
    setp(bytes_.data(), bytes_.data() + bytes_.size());
    return error_ == 0;
}

}  // namespace vd
