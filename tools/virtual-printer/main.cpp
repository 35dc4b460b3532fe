// virtual-printer: a receipt printer on loopback for trying setip without hardware.

#include "printer/builtin/network_address.h"
#include "printer/printer_library.h"
#include "tools/virtual-printer/pty_printer.h"
#include "tools/virtual-printer/tcp_printer.h"

#include <iostream>
#include <string_view>

namespace {

constexpr std::string_view usage =
    "Usage: virtual-printer [--listen ADDRESS[:PORT] | --pty]\n"
    "\n"
    "Acts as a network receipt printer: listens on ADDRESS (default 127.0.0.1:9100), prints the bytes of each\n"
    "connection in hex and recognises the set-address command. After one, it moves to the new address if that is\n"
    "on loopback (127.x.y.z), and otherwise says which address it was given. ADDRESS must be numeric.\n"
    "\n"
    "  --listen ADDRESS[:PORT]  where to listen (port 9100 unless given)\n"
    "  --pty                    be a serial printer instead: make a pseudo-terminal and print its path\n"
    "  --help                   show this text\n";

}  // namespace

int main(int argc, char** argv) {
    setip::builtin::NetworkAddress address{"127.0.0.1"};
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--help" || argument == "-h") {
            std::cout << usage;
            return 0;
        }
        if (argument == "--pty") return setip::virtual_printer::servePty(std::cout);
        if (argument == "--listen" && i + 1 < argc) {
            try {
                address = setip::builtin::parseNetworkAddress(argv[++i]);
            } catch (const setip::PrinterFailure& refused) {
                std::cerr << "virtual-printer: " << refused.what() << '\n';
                return 2;
            }
            continue;
        }
        std::cerr << "virtual-printer: unknown argument \"" << argument << "\"\n\n" << usage;
        return 2;
    }
    return setip::virtual_printer::serveTcp(address, std::cout);
}
