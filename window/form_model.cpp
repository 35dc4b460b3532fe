#include "window/form_model.h"

#include "printer/port_kind.h"

#include <utility>

namespace setip {
namespace {

constexpr TextView defaultAddress = u"192.168.123.100";

constexpr std::array<TextView, 14> portItems = {u"ETHERNET", u"COM1", u"COM2", u"COM3", u"COM4",
                                                u"COM5",     u"COM6", u"COM7", u"COM8", u"COM9",
                                                u"LPT1",     u"LPT2", u"LPT3", u"DRIVER"};
constexpr std::array<TextView, 4> baudRateItems = {u"9600", u"19200", u"38400", u"115200"};

// What a screen reader says where no caption shows it: Text2 has no label, only its place says it takes the new
// address; and "Set IP" does not say what it sends, or where.
constexpr TextView newAddressName = u"New IP address";
constexpr TextView setIpDescription =
    u"Sends the set-address command with the new IP address to the printer over the chosen port";

// What the operator is told when a press stops, by the stage it stopped at.
TextView messageFor(PressStage stage) {
    switch (stage) {
        case PressStage::address: return u"Invalid IP address,please check!\r\nThe correct format is 255.255.255.255";
        case PressStage::open: return u"Fail to open port,please check!";
        case PressStage::send: return u"Fail to send command,please check!";
    }
    return {};
}

// The front end shows the press busy from construction until done(), or the end of the scope.
class Busy {
public:
    explicit Busy(FrontEnd& frontEnd) : frontEnd_(frontEnd) { frontEnd_.showBusy(); }
    ~Busy() { done(); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

    void done() {
        if (std::exchange(busy_, false)) frontEnd_.showIdle();
    }

private:
    FrontEnd& frontEnd_;
    bool busy_ = true;
};

}  // namespace

FrmTest::FrmTest(const InstalledPrinters& printers, FrontEnd& frontEnd, PrinterLibrary& library,
                 std::ostream& diagnostics)
    : Label1("Label1", u"Select Port:", {105, 105, 855, 165}, 0),
      Combo1("Combo1", ComboStyle::dropDownCombo, u"Combo1", {1050, 105, 1575, 315}, 1),
      Label2("Label2", u"IP:", {105, 525, 255, 210}, 2),
      Label3("Label3", u"Driver:", {105, 945, 495, 210}, 3),
      Combo2("Combo2", ComboStyle::dropDownList, {}, {735, 945, 1935, 315}, 4),
      Label4("Label4", u"Baudrate:", {105, 1365, 750, 210}, 5),
      Combo3("Combo3", ComboStyle::dropDownList, {}, {1020, 1350, 1095, 315}, 6),
      Command5("Command5", u"Set IP", {3105, 630, 2175, 495}, 7),
      Text1("Text1", Text{defaultAddress}, {765, 540, 1500, 285}, 8),
      Text2("Text2", Text{defaultAddress}, {3420, 270, 1500, 285}, 9),
      printers_(printers),
      frontEnd_(frontEnd),
      library_(library),
      diagnostics_(diagnostics) {
    Combo1.nameBy(Label1);
    Text1.nameBy(Label2);
    Combo2.nameBy(Label3);
    Combo3.nameBy(Label4);
    Text2.setAccessibleName(newAddressName);
    Command5.setAccessibleDescription(setIpDescription);
    Combo1.onClick([this] { Combo1_Click(); });
    Combo1.onChange([this] { Combo1_Change(); });
    Command5.onClick([this] { Command5_Click(); });
}

void FrmTest::Form_Load() {
    for (std::size_t index = 0; index < portItems.size(); ++index) {
        Combo1.AddItem(portItems[index], static_cast<std::int32_t>(index));
    }
    // Runs the enabling rule for ETHERNET at once, while the other two lists are still empty.
    Combo1.setListIndex(0);
    for (std::size_t index = 0; index < baudRateItems.size(); ++index) {
        Combo3.AddItem(baudRateItems[index], static_cast<std::int32_t>(index));
    }
    Combo3.setListIndex(1);
    frontEnd_.Cls();

    const std::int32_t lastPrinter = printers_.Count() - 1;
    for (std::int32_t PrinterIndex = 0; PrinterIndex <= lastPrinter; ++PrinterIndex) {
        Combo2.AddItem(printers_.DeviceName(PrinterIndex), PrinterIndex);
    }
    // With no printer installed there is no first one to select: the list stays empty, its text empty, and
    // start-up goes on rather than failing on an index the list does not have.
    if (Combo2.ListCount() > 0) Combo2.setListIndex(0);
}

void FrmTest::Combo1_Click() { enableInputsForPortKind(); }

void FrmTest::Combo1_Change() { enableInputsForPortKind(); }

void FrmTest::enableInputsForPortKind() {
    const auto kind = portKindOf(Combo1.Text());
    if (!kind) return;
    Text1.setEnabled(*kind == PortKind::network);
    Combo2.setEnabled(*kind == PortKind::driver);
    Combo3.setEnabled(*kind == PortKind::serial);
}

void FrmTest::Command5_Click() {
    const PressRequest request{Combo1.Text(), Text1.Text(), Combo2.Text(), Combo3.Text(), Text2.Text()};
    Busy busy{frontEnd_};
    const PressOutcome outcome = pressSetIp(request, library_);
    busy.done();
    portHandle_ = outcome.handle;
    if (outcome.sent()) return;
    // A malformed address is told by the box alone, which says what the address must look like.
    if (outcome.failedAt != PressStage::address && !outcome.reason.empty()) {
        diagnostics_ << "setip: " << outcome.reason << '\n' << std::flush;
    }
    frontEnd_.showError(errorTitle, messageFor(*outcome.failedAt));
}

std::array<const Control*, 10> FrmTest::controls() const {
    return {&Label1, &Combo1, &Label2, &Label3, &Combo2, &Label4, &Combo3, &Command5, &Text1, &Text2};
}

std::array<Control*, 10> FrmTest::controls() {
    return {&Label1, &Combo1, &Label2, &Label3, &Combo2, &Label4, &Combo3, &Command5, &Text1, &Text2};
}

}  // namespace setip
