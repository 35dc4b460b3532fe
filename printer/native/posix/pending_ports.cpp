#include "printer/native/ports.h"

// Serial lines, printer devices and printer queues are not reached yet; each says so instead of pretending.
namespace setip::native {

std::unique_ptr<Port> openSerialPort(std::string_view name, const SerialSettings&) {
    throw PortFailure("cannot open " + std::string{name} + ": serial ports are not supported yet");
}

std::unique_ptr<Port> openDevicePort(std::string_view name) {
    throw PortFailure("cannot open " + std::string{name} + ": printer devices are not supported yet");
}

std::unique_ptr<Port> openQueuePort(std::string_view name) {
    throw PortFailure("cannot open printer queue \"" + std::string{name} + "\": queues are not supported yet");
}

}  // namespace setip::native
