// Presses "Set IP" once for an installed printer queue, as the window would: queue_probe QUEUE PORT. The queue
// delivers raw jobs to 127.0.0.1:PORT, where this program listens. Exits 0 when the system lists the queue, the
// press showed nothing and exactly the set-address command arrived.
#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/support/recording_library.h"
#include "tests/win32/winsock_peer.h"
#include "window/installed_printers.h"

#include <algorithm>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: queue_probe QUEUE PORT\n";
        return 2;
    }
    const setip::Text queue = setip::fromUtf8(argv[1]);
    setip::testing_support::WinsockPrinter printer{setip::testing_support::PeerBehaviour::readToEnd,
                                                   static_cast<std::uint16_t>(std::stoi(argv[2]))};

    const auto installed = setip::systemPrinterNames();
    if (std::find(installed.begin(), installed.end(), queue) == installed.end()) {
        std::cerr << "FAIL: the spooler does not list " << argv[1] << "\n";
        return 1;
    }

    setip::native::NativeLibrary library;
    setip::testing_support::RecordingMessages messages;
    const setip::WindowInputs inputs{u"DRIVER", u"", queue, u"19200", u"10.0.0.7"};
    const auto handle = setip::pressSetIp(inputs, library, messages, std::cerr);
    if (!handle || *handle == -1 || !messages.shown.empty()) {
        std::cerr << "FAIL: the press failed: " << library.failureReason() << "\n";
        return 1;
    }

    const setip::testing_support::Bytes command{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x0A, 0x00, 0x00, 0x07};
    const auto received = printer.connections(1, std::chrono::seconds{20});
    if (received != std::vector<setip::testing_support::Bytes>{command}) {
        std::cerr << "FAIL: the printer received " << received.size() << " jobs, not the one command\n";
        return 1;
    }
    return 0;
}
