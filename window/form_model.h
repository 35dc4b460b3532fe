#pragma once

#include "printer/press.h"
#include "printer/printer_library.h"
#include "window/combo_box.h"
#include "window/control.h"
#include "window/installed_printers.h"

#include <array>
#include <cstdint>
#include <optional>
#include <ostream>

namespace setip {

inline constexpr TextView formCaption = u"FrmQuillop";
inline constexpr TextView errorTitle = u"error";
inline constexpr std::int32_t clientWidthTwips = 5805;
inline constexpr std::int32_t clientHeightTwips = 1935;

// What the window asks of the toolkit that draws it.
class FrontEnd {
public:
    virtual ~FrontEnd() = default;
    // Erases whatever was drawn on the window itself at run time.
    virtual void Cls() = 0;
    // A modal message with the critical icon and one OK button.
    virtual void showError(TextView title, TextView text) = 0;
    // A press may wait seconds on a printer; it is shown busy (the wait cursor) from its start until just before it
    // tells anything.
    virtual void showBusy() {}
    virtual void showIdle() {}
};

// The program's one window as a model: its ten controls, its start-up and its three handlers. A front end draws
// it, reports the operator's picks, edits and presses to the controls, and redraws it afterwards.
class FrmTest {
public:
    // What a press tells `diagnostics` goes on one "setip:" line.
    FrmTest(const InstalledPrinters& printers, FrontEnd& frontEnd, PrinterLibrary& library, std::ostream& diagnostics);
    FrmTest(const FrmTest&) = delete;
    FrmTest& operator=(const FrmTest&) = delete;

    // Fills the three lists and selects their defaults; runs once, before the window is first shown.
    void Form_Load();
    void Combo1_Click();
    void Combo1_Change();
    // One press of "Set IP" on the controls as they stand. Its outcome is told in a message box, and the reason for a
    // port that would not open or a send that failed also on one "setip:" line.
    void Command5_Click();

    // What the last press of "Set IP" got from opening the port: -1 when it could not be opened; nothing before the
    // first press, or when the press stopped at a malformed address, before any port was asked for.
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
    FrontEnd& frontEnd_;
    PrinterLibrary& library_;
    std::ostream& diagnostics_;
    std::optional<std::int32_t> portHandle_;
};

}  // namespace setip
