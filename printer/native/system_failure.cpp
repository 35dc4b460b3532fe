#include "printer/native/system_failure.h"

#include <string>

namespace setip::native {

PortFailure systemFailure(std::string_view action, std::string_view name, SystemError error) {
    std::string text{"cannot "};
    text.append(action).append(" ").append(name).append(": ").append(systemErrorReason(error));
    return PortFailure(text);
}

}  // namespace setip::native
