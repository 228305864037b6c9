// Line-by-line reading of a text held in memory. CR LF, a lone LF and a lone CR each end a
// line, so a file reads the same whatever its line breaks; a break at the very end does
// not make an extra empty line.
#pragma once

#include <string_view>

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
        const std::size_t brk = text_.find_first_of("\r\n", start);
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
        return text_.find_first_not_of(" \t\r\n", pos_) == std::string_view::npos;
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
    int lineNumber_ = 0;
};

}  // namespace vd
