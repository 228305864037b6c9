// Flow files are kept with CR LF line breaks. A file with other breaks is rewritten in
// place and its original kept beside it under the suffix ".unix".
#pragma once

#include <string>
#include <string_view>

namespace vd {

inline constexpr std::size_t lineBreakProbeBytes = 14000;

// True when the text holds a CR not followed by LF (a CR in the last byte counts) or an
// LF not preceded by CR. Only the first 14000 bytes of a file are examined by callers.
bool hasNonCrLfBreaks(std::string_view text);

// Every line break made CR LF: a CR LF pair stays, any other CR or LF becomes CR LF (so
// LF CR is two breaks). Text after a zero byte is not text and is dropped.
std::string toCrLf(std::string_view text);

// Renames `path` to `path` + ".unix" (replacing an older one) and writes `crlfText` under
// `path`. Returns false, leaving everything as it was, when the file or its folder cannot
// be written; throws CalcError "Unable to create temporary ROZ work file" when the
// original could not be put back after a failed write.
bool replaceWithCrLfCopy(const std::string& path, const std::string& crlfText);

}  // namespace vd
