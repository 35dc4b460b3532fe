#pragma once

#include "printer/native/posix/unique_fd.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace setip::testing_support {

// A pseudo-terminal pair standing in for a serial line: the library opens `path`, the test plays the printer on
// `far`. The test keeps the near side open too, so what was sent stays readable after the library closes.
struct PseudoTerminal {
    native::UniqueFd far;
    native::UniqueFd near;
    std::string path;

    // Throws std::runtime_error saying why when the machine has no pseudo-terminals.
    PseudoTerminal();
    // The entry that names this line in the port list.
    std::u16string entry() const;
    // Reads from the far side until `count` bytes came or the wait ran out.
    std::vector<std::uint8_t> read(std::size_t count, std::chrono::milliseconds wait = std::chrono::seconds{5}) const;
};

}  // namespace setip::testing_support
