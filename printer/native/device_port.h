#pragma once

#include "printer/native/device_file.h"
#include "printer/native/port.h"

#include <cstdint>
#include <span>
#include <string>

namespace setip::native {

// A parallel or USB printer device, and the base of a serial line. Its writes never block the window (non-blocking
// on Linux, overlapped on Windows), because an offline printer holds a plain write forever.
class DevicePort : public Port {
public:
    DevicePort(DeviceFile file, std::string path);
    void write(std::span<const std::uint8_t> bytes) override;
    void close() override;

protected:
    DeviceFile file_;
    std::string path_;
};

}  // namespace setip::native
