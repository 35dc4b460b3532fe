#pragma once

#include "posdll_call.h"  // from the platform folder

#include <cstdint>

namespace setip::posdll {

// The five entries as the vendor library exports them. The name buffer is the library's to scribble on.
using PosOpenEntry = std::int32_t(SETIP_POSDLL_CALL*)(char* name, std::int32_t baudRate, std::int32_t dataBits,
                                                       std::int32_t stopBits, std::int32_t parity,
                                                       std::int32_t openMode);
using PosNoArgumentEntry = std::int32_t(SETIP_POSDLL_CALL*)();
using PosWriteFileEntry = std::int32_t(SETIP_POSDLL_CALL*)(std::int32_t handle, const std::uint8_t* bytes,
                                                            std::int32_t count);

inline constexpr const char* entryNames[] = {"POS_Open", "POS_StartDoc", "POS_WriteFile", "POS_EndDoc", "POS_Close"};

}  // namespace setip::posdll
