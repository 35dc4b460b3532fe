#pragma once

#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "window/frm_test.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

namespace setip::testing_support {

// Runs a check at the moment the window clears its surface, to see how far start-up has got.
class WatchedSurface final : public DrawingSurface {
public:
    std::function<void()> onCls;
    int clears = 0;
    void Cls() override {
        ++clears;
        if (onCls) onCls();
    }
};

// Which of the three port-kind inputs are enabled, in the order Text1, Combo2, Combo3.
struct InputFlags {
    bool text1, combo2, combo3;
    friend bool operator==(const InputFlags&, const InputFlags&) = default;
    friend std::ostream& operator<<(std::ostream& out, const InputFlags& flags) {
        return out << "Text1=" << flags.text1 << " Combo2=" << flags.combo2 << " Combo3=" << flags.combo3;
    }
};

inline constexpr InputFlags networkInputs{true, false, false};
inline constexpr InputFlags serialInputs{false, false, true};
inline constexpr InputFlags parallelInputs{false, false, false};
inline constexpr InputFlags driverInputs{false, true, false};

inline InputFlags inputFlagsOf(const FrmTest& form) {
    return {form.Text1.Enabled(), form.Combo2.Enabled(), form.Combo3.Enabled()};
}

// The window over recording hooks, loaded as the program loads it.
struct LoadedForm {
    explicit LoadedForm(std::vector<Text> printerNames = {u"A", u"B", u"C"}, bool load = true)
        : printers(std::move(printerNames)) {
        if (load) form.Form_Load();
    }
    ListedPrinters printers;
    WatchedSurface surface;
    RecordingMessages messages;
    RecordingLibrary library;
    std::ostringstream diagnostics;
    FrmTest form{printers, surface, messages, library, diagnostics};
};

}  // namespace setip::testing_support
