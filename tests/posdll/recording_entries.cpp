// A stand-in vendor printer library: it exports the entries by name and hands every call to the recording library
// the press tests use, so its record reads the same.
#include "posdll_call.h"
#include "tests/support/recording_library.h"

using setip::testing_support::RecordingLibrary;

namespace {

RecordingLibrary recorded;

}  // namespace

extern "C" {

// The test reaches the record through its own load of this library.
RecordingLibrary* recording() { return &recorded; }

std::int32_t SETIP_POSDLL_CALL POS_Open(char* name, std::int32_t baudRate, std::int32_t dataBits,
                                        std::int32_t stopBits, std::int32_t parity, std::int32_t openMode) {
    const std::int32_t handle = recorded.POS_Open(name, baudRate, dataBits, stopBits, parity, openMode);
    // Vendor libraries may use the name buffer as scratch space.
    if (name[0] != '\0') name[0] = '#';
    return handle;
}

std::int32_t SETIP_POSDLL_CALL POS_StartDoc() { return recorded.POS_StartDoc(); }

std::int32_t SETIP_POSDLL_CALL POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) {
    return recorded.POS_WriteFile(handle, bytes, count);
}

std::int32_t SETIP_POSDLL_CALL POS_Close() { return recorded.POS_Close(); }

}  // extern "C"
