#pragma once

#include "tests/support/recording_library.h"
#include "window/frm_test.h"

#include <sstream>
#include <string>
#include <vector>

namespace setip::testing_support {

struct BlankSurface final : DrawingSurface {
    void Cls() override {}
};

// The window over recording hooks, or over `other` when given, loaded as the program loads it.
struct LoadedForm {
    explicit LoadedForm(std::vector<Text> printerNames = {u"A", u"B", u"C"}, PrinterLibrary* other = nullptr)
        : printers(std::move(printerNames)),
          form(printers, surface, messages, other != nullptr ? *other : library, diagnostics) {
        form.Form_Load();
    }
    ListedPrinters printers;
    BlankSurface surface;
    RecordingMessages messages;
    RecordingLibrary library;
    std::ostringstream diagnostics;
    FrmTest form;
};

// Which of the port-kind inputs are enabled; the rule leaves at most one on.
inline std::string enabledInputs(const FrmTest& form) {
    return std::string{form.Text1.Enabled() ? "Text1" : ""} + (form.Combo2.Enabled() ? "Combo2" : "") +
           (form.Combo3.Enabled() ? "Combo3" : "");
}

inline std::vector<Text> itemsOf(const ComboBox& list) {
    std::vector<Text> items;
    for (std::int32_t index = 0; index < list.ListCount(); ++index) items.push_back(list.List(index));
    return items;
}

}  // namespace setip::testing_support
