#include "flow_reader.h"

#include "errors.h"

namespace vd {

void VDRead(CalcState&) {
    throw CalcError("flow reader not built yet");
}
bool isNWIS2006File(const std::string&) {
    return false;
}

}  // namespace vd
