#pragma once

#include "printer/library.h"
#include "printer/press.h"
#include "window/combo_box.h"
#include "window/control.h"
#include "window/drawing_surface.h"
#include "window/installed_printers.h"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>

namespace setip {

inline constexpr TextView formCaption = u"FrmQuillop";
inline constexpr std::int32_t clientWidthTwips = 5805;
inline constexpr std::int32_t clientHeightTwips = 1935;

// The program's one window as a model: its ten controls, its start-up and its three handlers. A front end draws
// it, reports the operator's picks, edits and presses to the controls, and redraws it afterwards.
class FrmTest {
public:
    FrmTest(const InstalledPrinters& printers, DrawingSurface& surface, OperatorMessages& messages,
            PrinterLibrary& library, std::ostream& diagnostics);
    FrmTest(const FrmTest&) = delete;
    FrmTest& operator=(const FrmTest&) = delete;

    // Fills the three lists and selects their defaults; runs once, before the window is first shown.
    void Form_Load();
    void Combo1_Click();
    void Combo1_Change();
    void Command5_Click();

    // What the last press of "Set IP" got from opening the port; nothing before the first press, or when the
    // press stopped before opening one.
    std::optional<std::int32_t> PortHandle() const { return portHandle_; }

    // The ten controls in tab-index order.
    std::array<const Control*, 10> controls() const;
    std::array<Control*, 10> controls();

    Label Label1;
    ComboBox Combo1;
    Label Label2;
    Label Label3;
    ComboBox Combo2;
    Label Label4;
    ComboBox Combo3;
    CommandButton Command5;
    TextBox Text1;
    TextBox Text2;

private:
    // Enables the input the port kind in Combo1 needs and disables the others; text of no kind changes nothing.
    void enableInputsForPortKind();

    const InstalledPrinters& printers_;
    DrawingSurface& surface_;
    OperatorMessages& messages_;
    PrinterLibrary& library_;
    std::ostream& diagnostics_;
    std::optional<std::int32_t> portHandle_;
};

}  // namespace setip
