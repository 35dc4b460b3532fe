#pragma once

#include <exception>
#include <ostream>
#include <type_traits>
#include <utility>

namespace setip {

// Runs what a toolkit called into: a window procedure, a slot, an event handler. An exception must not go back
// into the toolkit, which would end the program, so it is told on `diagnostics` as one "setip:" line instead, the
// window stays as it is, and the result is `fallback`.
template <typename Action, typename Result = std::invoke_result_t<Action&>>
Result noEscape(std::ostream& diagnostics, Action&& action, Result fallback) noexcept {
    try {
        return action();
    } catch (const std::exception& unexpected) {
        try {
            diagnostics << "setip: " << unexpected.what() << '\n' << std::flush;
        } catch (...) {
            // Nowhere left to tell it.
        }
    }
    return fallback;
}

template <typename Action>
void noEscape(std::ostream& diagnostics, Action&& action) noexcept {
    noEscape(diagnostics, [&action] { return (action(), true); }, false);
}

}  // namespace setip
