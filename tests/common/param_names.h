// Names of parameterised test cases made from their values, so that test names are the
// same on every run and hold only letters, digits and underscores.
#pragma once

#include <cctype>
#include <cstdio>
#include <string>
#include <string_view>

namespace vd::test {

// "a zero flow" gives "a_zero_flow".
inline std::string caseName(std::string_view text) {
    std::string name;
    for (const char c : text) {
        if (std::isalnum(static_cast<unsigned char>(c)))
            name += c;
        else if (!name.empty() && name.back() != '_')
            name += '_';
    }
    while (!name.empty() && name.back() == '_') name.pop_back();
    return name.empty() ? "empty" : name;
}

// -2.5 gives "m2p5", 9e-07 gives "9em07".
inline std::string numberName(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    std::string name;
    for (const char c : std::string_view(text)) {
        if (c == '-')
            name += 'm';
        else if (c == '.')
            name += 'p';
        else if (c != '+')
            name += c;
    }
    return name;
}

}  // namespace vd::test
