// Presses "Set IP" once, as the window would: press_probe COMBO1 COMBO2 COMBO3. Exits 0 when the port opened, nothing
// was shown and, for a queue, the system lists COMBO2. The script around it checks what reached the far side.
#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "window/installed_printers.h"

#include <algorithm>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    using namespace setip;
    if (argc != 4) return 2;
    const WindowInputs inputs{fromUtf8(argv[1]), u"", fromUtf8(argv[2]), fromUtf8(argv[3]), u"10.0.0.7"};
    const auto installed = systemPrinterNames();
    const bool listed = inputs.combo1 != u"DRIVER" || std::ranges::find(installed, inputs.combo2) != installed.end();
    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    if (pressSetIp(inputs, library, messages, std::cerr).value_or(-1) == -1 || !messages.shown.empty() || !listed) {
        std::cerr << "FAIL: " << (listed ? library.failureReason() : "the spooler does not list the queue") << '\n';
        return 1;
    }
    return 0;
}
