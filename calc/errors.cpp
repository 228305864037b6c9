#include "errors.h"

namespace vd {

std::string invalidIntegerMessage(const std::string& text) {
    return "'" + text + "' is not a valid integer value";
}

std::string invalidFloatMessage(const std::string& text) {
    return "'" + text + "' is not a valid floating point value";
}

}  // namespace vd
