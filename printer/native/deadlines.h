#pragma once

#include <chrono>

namespace setip::native {

// A press runs on the window thread, so these bounds are what keep the window from hanging on a dead printer.
inline constexpr std::chrono::seconds connectBudget{3};
inline constexpr std::chrono::seconds writeBudget{5};
inline constexpr std::chrono::seconds closeBudget{1};

}  // namespace setip::native
