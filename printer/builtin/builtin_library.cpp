#include "printer/builtin/builtin_library.h"

#include "printer/builtin/device_port.h"
#include "printer/builtin/network_port.h"
#include "printer/builtin/queue_port.h"
#include "printer/builtin/serial_port.h"

#include <limits>
#include <string>
#include <utility>

namespace setip::builtin {

BuiltinLibrary::BuiltinLibrary(std::shared_ptr<const NameResolver> resolver) : resolver_(std::move(resolver)) {}

BuiltinLibrary::~BuiltinLibrary() {
    try {
        close();
    } catch (const PrinterFailure&) {
        // Nobody is left to tell.
    }
}

std::int32_t BuiltinLibrary::open(PortKind kind, TextView name, const LineSettings& line) {
    try {
        close();
    } catch (const PrinterFailure&) {
        // How the last port ended is not this open's to tell.
    }
    const std::string utf8 = toUtf8(name);
    switch (kind) {
        case PortKind::network: port_ = openNetworkPort(utf8, *resolver_); break;
        case PortKind::serial: port_ = openSerialPort(utf8, line); break;
        case PortKind::parallel: port_ = openDevicePort(utf8); break;
        case PortKind::driver: port_ = openQueuePort(utf8); break;
    }
    // A fresh handle each time, so a stale one is never taken for the current port.
    handle_ = handle_ == std::numeric_limits<std::int32_t>::max() ? 1 : handle_ + 1;
    return handle_;
}

Port& BuiltinLibrary::current() const {
    if (!port_) throw PrinterFailure("no port is open");
    return *port_;
}

void BuiltinLibrary::startDoc() { current().startDoc(); }

void BuiltinLibrary::write(std::int32_t handle, std::span<const std::uint8_t> bytes) {
    Port& port = current();
    if (handle != handle_) throw PrinterFailure("handle " + std::to_string(handle) + " is not the open port's");
    port.write(bytes);
}

void BuiltinLibrary::endDoc() { current().endDoc(); }

void BuiltinLibrary::close() {
    // The port goes even when its orderly close fails.
    if (const std::unique_ptr<Port> port = std::move(port_)) port->close();
}

}  // namespace setip::builtin
