// Line-by-line reading of a text held in memory. CR LF, a lone LF and a lone CR each end a
// line, so a file reads the same whatever its line breaks; a break at the very end does
// not make an extra empty line.
#pragma once

#include <string_view>

#include "byte_search.h"

namespace vd {

class LineCursor {
  public:
    explicit LineCursor(std::string_view text) : text_(text) {}

    bool eof() const { return pos_ >= text_.size(); }

    // The next line without its break; empty at the end of the text.
    std::string_view next() {
        ++lineNumber_;
        if (eof()) return {};
        const std::size_t start = pos_;
        const std::size_t brk = nextBreak(start);
        if (brk == std::string_view::npos) {
            pos_ = text_.size();
            return text_.substr(start);
        }
        pos_ = brk + 1;
        if (text_[brk] == '\r' && pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        return text_.substr(start, brk - start);
    }

    // Number of the line last returned by next() (1 for the first line).
    int lineNumber() const { return lineNumber_; }

    // True when nothing but blank lines (blanks, tabs, line breaks) is left.
    bool onlyBlankLinesLeft() const {
        if (pos_ < text_.size() && !isBlankOrBreak(text_[pos_])) return false;  // most lines
        return text_.find_first_not_of(" \t\r\n", pos_) == std::string_view::npos;
    }

  private:
    static bool isBlankOrBreak(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    // The first CR or LF from `from` on. A record line is a few dozen bytes: searched inline
    // with findEither rather than by a library call per line.
    std::size_t nextBreak(std::size_t from) const {
        const char* const end = text_.data() + text_.size();
        const char* const at = findEither(text_.data() + from, end, '\n', '\r');
        return at == end ? std::string_view::npos : static_cast<std::size_t>(at - text_.data());
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
};

}  // namespace vd
