#include "printer/native/posix/system_failure.h"

#include <cstring>
#include <string>

namespace setip::native {

PortFailure systemFailure(std::string_view action, std::string_view name, int error) {
    std::string text{"cannot "};
    text.append(action).append(" ").append(name).append(": ").append(std::strerror(error));
    return PortFailure(text);
}

}  // namespace setip::native
