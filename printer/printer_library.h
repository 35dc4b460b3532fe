#pragma once

#include "common/text.h"
#include "printer/port_kind.h"

#include <cstdint>
#include <span>
#include <stdexcept>

namespace setip {

// Why a printer library could not do what was asked, in words an operator can act on: what was tried, on which name,
// and the system's reason.
class PrinterFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A serial line's settings, as a press asks for them; all zero for the kinds of port that have none.
struct LineSettings {
    std::int32_t baudRate = 0;
    std::int32_t dataBits = 0;
    std::int32_t stopBits = 0;  // 0 means one stop bit, 2 two
    std::int32_t parity = 0;    // 0 none, 1 odd, 2 even

    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// The printer library a press goes through: the built-in one, or a vendor's bound by name (on Windows). It keeps one
// current port, opened by its kind and the operator's text whole. Every operation throws PrinterFailure when it fails.
class PrinterLibrary {
public:
    virtual ~PrinterLibrary() = default;

    // Opens the port of that kind and name and gives its handle, which may be any number, 0 included.
    virtual std::int32_t open(PortKind kind, TextView name, const LineSettings& line) = 0;
    virtual void startDoc() = 0;
    // Sends every byte to the port of that handle.
    virtual void write(std::int32_t handle, std::span<const std::uint8_t> bytes) = 0;
    virtual void endDoc() = 0;
    // Lets the printer take everything sent, then releases the current port.
    virtual void close() = 0;
};

// The handle of a port that could not be opened, as a vendor library gives it.
inline constexpr std::int32_t failedHandle = -1;

}  // namespace setip
