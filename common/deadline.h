#pragma once

#include <chrono>

namespace setip {

using Clock = std::chrono::steady_clock;
using Deadline = Clock::time_point;

inline Deadline deadlineAfter(Clock::duration budget) { return Clock::now() + budget; }

// Milliseconds left, rounded up so that a wait never wakes just before the deadline; 0 once it has passed.
inline int millisecondsLeft(Deadline deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left <= 0 ? 0 : left > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(left);
}

}  // namespace setip
