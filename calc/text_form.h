// The text of a flow file as the parsers read it: 8-bit text whatever form the file was
// saved in, or a refusal when the bytes are no text at all.
#pragma once

#include <string>
#include <string_view>

namespace vd {

// Bytes at the start of a file in which control characters are counted.
inline constexpr std::size_t textProbeBytes = 64 * 1024;

// `bytes` as 8-bit text: UTF-16 with a byte-order mark (as Windows editors save it) is
// decoded to UTF-8, a UTF-8 byte-order mark is dropped, anything else is kept as it is.
// Throws a calculation error "... is not a flow file in text format" (naming `path`) when the text
// holds a NUL byte, when more than one byte in twenty of its first 64 KiB is a control
// character other than a tab, a line break or a form feed, or when UTF-16 text has an odd
// number of bytes.
std::string flowTextOf(std::string bytes, const std::string& path);

// True when `text` does not look like text (see flowTextOf).
bool looksBinary(std::string_view text);

}  // namespace vd
