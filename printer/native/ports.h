#pragma once

#include "printer/native/name_resolver.h"
#include "printer/native/port.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace setip::native {

struct SerialSettings {
    std::int32_t baudRate = 0;
    std::int32_t dataBits = 8;
    std::int32_t stopBits = 0;  // 0 means one stop bit
    std::int32_t parity = 0;    // 0 means none
};

// One opener per port kind, each implemented for the OS in its own file. Each throws PortFailure with the reason
// when the port cannot be opened.
std::unique_ptr<Port> openNetworkPort(std::string_view name, const NameResolver& resolver);
std::unique_ptr<Port> openSerialPort(std::string_view name, const SerialSettings& settings);
std::unique_ptr<Port> openDevicePort(std::string_view name);
std::unique_ptr<Port> openQueuePort(std::string_view name);

}  // namespace setip::native
