// A stand-in vendor printer library: it exports the entries by name and writes down every call with its arguments.
#include "posdll_call.h"
#include "tests/posdll/pos_calls.h"

#include <cstdio>

using setip::testing_support::PosCalls;

namespace {

PosCalls recorded;

std::int32_t record(std::string call, std::int32_t result = 0) {
    recorded.calls.push_back(std::move(call));
    return result;
}

}  // namespace

extern "C" {

// The test reaches the record through its own load of this library.
PosCalls* recording() { return &recorded; }

std::int32_t SETIP_POSDLL_CALL POS_Open(char* name, std::int32_t baudRate, std::int32_t dataBits,
                                        std::int32_t stopBits, std::int32_t parity, std::int32_t openMode) {
    const std::int32_t handle =
        record("POS_Open(\"" + std::string{name} + "\", " + std::to_string(baudRate) + ", " + std::to_string(dataBits) +
                   ", " + std::to_string(stopBits) + ", " + std::to_string(parity) + ", " + std::to_string(openMode) + ")",
               recorded.openResult);
    // Vendor libraries may use the name buffer as scratch space.
    if (name[0] != '\0') name[0] = '#';
    return handle;
}

std::int32_t SETIP_POSDLL_CALL POS_StartDoc() { return record("POS_StartDoc()"); }

std::int32_t SETIP_POSDLL_CALL POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) {
    std::string hex;
    for (std::int32_t i = 0; i < count; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
        hex += byte;
    }
    return record("POS_WriteFile(" + std::to_string(handle) + ", " + hex + ", " + std::to_string(count) + ")", count);
}

std::int32_t SETIP_POSDLL_CALL POS_Close() { return record("POS_Close()"); }

// Also called from recording_end_doc.cpp, which the library without POS_EndDoc leaves out.
void recordEndDoc() { record("POS_EndDoc()"); }

}  // extern "C"
