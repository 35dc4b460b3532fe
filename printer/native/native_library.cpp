#include "printer/native/native_library.h"

#include "printer/native/ports.h"
#include "printer/port_kind.h"

#include <limits>
#include <string>
#include <utility>

namespace setip::native {

NativeLibrary::NativeLibrary(std::shared_ptr<const NameResolver> resolver) : resolver_(std::move(resolver)) {}

NativeLibrary::~NativeLibrary() { POS_Close(); }

std::unique_ptr<Port> NativeLibrary::openPort(std::string_view name, std::int32_t baudRate, std::int32_t dataBits,
                                              std::int32_t stopBits, std::int32_t parity,
                                              std::int32_t openMode) const {
    switch (static_cast<OpenMode>(openMode)) {
        case OpenMode::network: return openNetworkPort(name, *resolver_);
        case OpenMode::serial: return openSerialPort(name, {baudRate, dataBits, stopBits, parity});
        case OpenMode::parallel: return openDevicePort(name);
        case OpenMode::driver: return openQueuePort(name);
    }
    throw PortFailure("open mode " + std::to_string(openMode) + " is not one this library knows");
}

std::int32_t NativeLibrary::POS_Open(const char* name, std::int32_t baudRate, std::int32_t dataBits,
                                     std::int32_t stopBits, std::int32_t parity, std::int32_t openMode) {
    POS_Close();
    try {
        port_ = openPort(name ? name : "", baudRate, dataBits, stopBits, parity, openMode);
    } catch (const PortFailure& failure) {
        failureReason_ = failure.what();
        return failedHandle;
    }
    failureReason_.clear();
    // A fresh handle each time, so a stale one is never taken for the current port.
    lastHandle_ = lastHandle_ == std::numeric_limits<std::int32_t>::max() ? 1 : lastHandle_ + 1;
    handle_ = lastHandle_;
    return handle_;
}

template <typename Operation>
std::int32_t NativeLibrary::onPort(Operation operation) {
    if (!port_) return -1;
    try {
        operation(*port_);
        return 0;
    } catch (const PortFailure& failure) {
        failureReason_ = failure.what();
        return -1;
    }
}

std::int32_t NativeLibrary::POS_StartDoc() {
    return onPort([](Port& port) { port.startDoc(); });
}

std::int32_t NativeLibrary::POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) {
    if (!port_ || handle != handle_ || count < 0 || (count > 0 && bytes == nullptr)) return -1;
    const std::span<const std::uint8_t> data{bytes, static_cast<std::size_t>(count)};
    return onPort([data](Port& port) { port.write(data); }) == 0 ? count : -1;
}

std::int32_t NativeLibrary::POS_EndDoc() {
    return onPort([](Port& port) { port.endDoc(); });
}

std::int32_t NativeLibrary::POS_Close() {
    const std::int32_t result = onPort([](Port& port) { port.close(); });
    port_.reset();
    return result;
}

}  // namespace setip::native
