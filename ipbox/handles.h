#pragma once

#include <cstdint>

namespace setip {

// The control keeps window handles in 32 bits, as its platform does; Win64 window handles fit.
using WindowHandle = std::int32_t;
using InstanceHandle = std::intptr_t;  // the application's module instance
using ObjectHandle = std::intptr_t;    // a drawing object such as a font

// A window message's two parameters and its result, pointer-wide as on the platform.
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

}  // namespace setip
