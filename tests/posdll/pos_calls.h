#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace setip::testing_support {

// What the stand-in vendor library was called with, one line per call, as "POS_Open("COM1", 9600, 8, 0, 0, 1)", and
// the handle its POS_Open gives.
struct PosCalls {
    std::vector<std::string> calls;
    std::int32_t openResult = 7;
};

}  // namespace setip::testing_support
