// A stand-in vendor printer library: it exports the entries by name and writes down every call it takes.
#include "posdll_call.h"
#include "tests/posdll/recording_record.h"

#include <cstdint>
#include <cstdio>
#include <string>

namespace {

std::string record;
std::int32_t openResult = 7;

}  // namespace

void recordCall(const std::string& call) { record += call + "\n"; }

extern "C" {

const char* recordedCalls() { return record.c_str(); }
void clearRecord() { record.clear(); }
void setOpenResult(std::int32_t result) { openResult = result; }

std::int32_t SETIP_POSDLL_CALL POS_Open(char* name, std::int32_t baudRate, std::int32_t dataBits,
                                        std::int32_t stopBits, std::int32_t parity, std::int32_t openMode) {
    recordCall("POS_Open(\"" + std::string{name} + "\", " + std::to_string(baudRate) + ", " +
               std::to_string(dataBits) + ", " + std::to_string(stopBits) + ", " + std::to_string(parity) + ", " +
               std::to_string(openMode) + ")");
    // Vendor libraries may use the name buffer as scratch space.
    if (name[0] != '\0') name[0] = '#';
    return openResult;
}

std::int32_t SETIP_POSDLL_CALL POS_StartDoc() {
    recordCall("POS_StartDoc()");
    return 0;
}

std::int32_t SETIP_POSDLL_CALL POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) {
    std::string hex;
    for (std::int32_t i = 0; i < count; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
        hex += byte;
    }
    recordCall("POS_WriteFile(" + std::to_string(handle) + ", " + hex + ", " + std::to_string(count) + ")");
    return count;
}

std::int32_t SETIP_POSDLL_CALL POS_Close() {
    recordCall("POS_Close()");
    return 0;
}

}  // extern "C"
