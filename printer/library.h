#pragma once

#include <cstdint>
#include <string>

namespace setip {

// The five entries of the printer library that the tool calls, with their arguments in the library's order.
// The library keeps its own current port, so only POS_WriteFile takes a handle.
class PrinterLibrary {
public:
    virtual ~PrinterLibrary() = default;

    // Gives a port handle, or -1 when the port cannot be opened. 0 is a valid handle.
    virtual std::int32_t POS_Open(const char* name, std::int32_t baudRate, std::int32_t dataBits,
                                  std::int32_t stopBits, std::int32_t parity, std::int32_t openMode) = 0;
    virtual std::int32_t POS_StartDoc() = 0;
    virtual std::int32_t POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) = 0;
    virtual std::int32_t POS_EndDoc() = 0;
    virtual std::int32_t POS_Close() = 0;

    // Whether the results above mean what they say: POS_WriteFile gives the count it took or -1, and POS_StartDoc
    // and POS_EndDoc give -1 when they fail. Only then can a press tell that a send failed.
    virtual bool reportsResults() const = 0;

    // Why the last call that failed did, in words an operator can act on. A vendor library cannot say, so it is
    // empty.
    virtual std::string failureReason() const { return {}; }
};

inline constexpr std::int32_t failedHandle = -1;

}  // namespace setip
