#pragma once

#include "common/system_error.h"
#include "printer/printer_library.h"

#include <chrono>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace setip::builtin {

// A press runs on the window thread, so these bounds are what keep the window from hanging on a dead printer.
inline constexpr std::chrono::seconds connectBudget{3};
inline constexpr std::chrono::seconds writeBudget{5};
inline constexpr std::chrono::seconds closeBudget{1};

// One open printer port of any kind. Every operation is bounded by the deadlines above and throws PrinterFailure
// when it fails; destroying a port releases its OS handle at once, without the orderly close.
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

// "cannot <action> <name>: <the OS's reason>", captured at the call that failed.
inline PrinterFailure systemFailure(std::string_view action, std::string_view name, SystemError error) {
    std::string text{"cannot "};
    text.append(action).append(" ").append(name).append(": ").append(systemErrorReason(error));
    return PrinterFailure(text);
}

}  // namespace setip::builtin
