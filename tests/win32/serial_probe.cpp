// Presses "Set IP" once for a serial port, as the window would: serial_probe COMn BAUD. Exits 0 when the port
// opened and nothing was shown; the far side of the line checks what arrived.
#include "printer/native/native_library.h"
#include "printer/press.h"

#include <iostream>

namespace {

class PrintedMessages final : public setip::OperatorMessages {
public:
    bool shown = false;
    void showError(setip::TextView title, setip::TextView text) override {
        shown = true;
        std::cerr << setip::toUtf8(title) << ": " << setip::toUtf8(text) << "\n";
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: serial_probe COMn BAUD\n";
        return 2;
    }
    setip::native::NativeLibrary library;
    PrintedMessages messages;
    const setip::WindowInputs inputs{setip::fromUtf8(argv[1]), u"", u"", setip::fromUtf8(argv[2]), u"10.0.0.7"};
    const auto handle = setip::pressSetIp(inputs, library, messages, std::cerr);
    if (!handle || *handle == -1 || messages.shown) {
        std::cerr << library.failureReason() << "\n";
        return 1;
    }
    return 0;
}
