#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>

namespace setip::native {

// Why a port operation failed, in words for the operator: what was tried, on which name, and the OS's reason.
class PortFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One open printer port of any kind. Every operation is bounded by the deadlines in deadlines.h and throws
// PortFailure when it fails; destroying a port releases its OS handle at once, without the orderly close.
class Port {
public:
    virtual ~Port() = default;

    virtual void startDoc() {}
    // Sends every byte, or throws.
    virtual void write(std::span<const std::uint8_t> bytes) = 0;
    virtual void endDoc() {}
    // Lets the printer take everything sent before the handle goes.
    virtual void close() = 0;
};

}  // namespace setip::native
