// Presses "Set IP" once, as the window would: press_probe COMBO1 COMBO2 COMBO3 [PORT]. Exits 0 when the port
// opened and nothing was shown; given a PORT, the queue COMBO2 must also be one the system lists, and exactly the
// set-address command must arrive at 127.0.0.1:PORT, where this program listens. Without one, the far side of the
// line checks what arrived.
#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/win32/winsock_peer.h"
#include "window/installed_printers.h"

#include <algorithm>
#include <future>
#include <iostream>
#include <optional>
#include <string>

namespace {

int failed(const std::string& why) {
    std::cerr << "FAIL: " << why << "\n";
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace setip;
    if (argc != 4 && argc != 5) return 2;
    const WindowInputs inputs{fromUtf8(argv[1]), u"", fromUtf8(argv[2]), fromUtf8(argv[3]), u"10.0.0.7"};
    std::optional<testing_support::WinsockListener> printer;
    std::future<testing_support::Bytes> received;
    if (argc == 5) {
        const auto installed = systemPrinterNames();
        if (std::find(installed.begin(), installed.end(), inputs.combo2) == installed.end()) {
            return failed("the spooler does not list " + std::string{argv[2]});
        }
        printer.emplace(16, static_cast<std::uint16_t>(std::stoi(argv[4])));
        received = std::async(std::launch::async, [&] { return printer->receive(std::chrono::seconds{20}); });
    }
    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    const auto handle = pressSetIp(inputs, library, messages, std::cerr);
    if (handle.value_or(-1) == -1 || !messages.shown.empty()) {
        return failed("the press failed: " + library.failureReason());
    }
    const testing_support::Bytes command{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x0A, 0x00, 0x00, 0x07};
    if (printer && received.get() != command) return failed("the printer did not receive exactly the one command");
    return 0;
}
