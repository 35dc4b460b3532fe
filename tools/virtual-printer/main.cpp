// virtual-printer: a receipt printer on loopback for trying setip without hardware.

#include "printer/builtin/network_address.h"
#include "tools/virtual-printer/pty_printer.h"
#include "tools/virtual-printer/tcp_printer.h"

#include <charconv>
#include <cmath>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace {

using setip::virtual_printer::TcpPrinterOptions;

constexpr std::string_view usage =
    "Usage: virtual-printer [--listen ADDRESS[:PORT]]... [--hold MILLISECONDS] [--restart-after SECONDS]\n"
    "       virtual-printer --pty\n"
    "\n"
    "Acts as a network receipt printer: listens on each ADDRESS (default 127.0.0.1:9100), prints the bytes of each\n"
    "connection in hex and recognises the set-address command. After one, that listener moves to the new address\n"
    "if it is on loopback (127.x.y.z), before it hangs up; otherwise it says which address it was given and stays.\n"
    "It answers the status request DLE EOT 1 (10 04 01) at once with 16, an idle printer. ADDRESS must be numeric.\n"
    "\n"
    "  --listen ADDRESS[:PORT]  where to listen (port 9100 unless given); give it again for more listeners,\n"
    "                           each served on its own and moved by its own commands\n"
    "  --hold MILLISECONDS      after taking a connection, wait this long before reading anything (a host that\n"
    "                           closes in order sees the hang-up only after that)\n"
    "  --restart-after SECONDS  after a set-address command, be silent (connects refused) this long, as a\n"
    "                           printer restarting its network, then listen at the new address; may be fractional\n"
    "  --pty                    be a serial printer instead: make a pseudo-terminal and print its path\n"
    "  --help                   show this text\n"
    "\n"
    "Besides the hex dump for people, it reports in lines that begin with the listener's address (the line's path\n"
    "with --pty) and a keyword, for programs:\n"
    "  listening on 127.0.0.2:9100                    at start, and once moved or restarted\n"
    "  127.0.0.2:9100 connection from 127.0.0.1:51834\n"
    "  127.0.0.2:9100 command 1F1B1F910049507F000007  each command, whole, in hex (also 100401)\n"
    "  127.0.0.2:9100 answer 16                       what it sent back\n"
    "  127.0.0.2:9100 connection closed after 11 bytes\n"
    "  127.0.0.2:9100 moving to 127.0.0.7:9100        or \"staying: \" and why; with --restart-after it adds\n"
    "                                                 \"after 0.5 s, silent until then\"\n";

// A whole number of milliseconds, or a number of seconds that may have a fraction; nothing when it is neither.
std::optional<setip::Clock::duration> parseDuration(std::string_view text, bool fractional) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || !(value >= 0 && value <= 86'400'000) ||
        (!fractional && value != std::floor(value))) {
        return std::nullopt;
    }
    const std::chrono::duration<double> seconds{fractional ? value : value / 1000};
    return std::chrono::duration_cast<setip::Clock::duration>(seconds);
}

int refuse(std::string_view problem) {
    std::cerr << "virtual-printer: " << problem << "\n\n" << usage;
    return 2;
}

int refuse(std::string_view text, std::string_view what) {
    return refuse("\"" + std::string{text} + "\" is not " + std::string{what});
}

}  // namespace

int main(int argc, char** argv) {
    TcpPrinterOptions options;
    bool pty = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const bool valued = i + 1 < argc;
        if (argument == "--help" || argument == "-h") {
            std::cout << usage;
            return 0;
        }
        if (argument == "--pty") {
            pty = true;
        } else if (argument == "--listen" && valued) {
            try {
                options.listen.push_back(setip::builtin::parseNetworkAddress(argv[++i]));
            } catch (const setip::PrinterFailure& refused) {
                return refuse(refused.what());
            }
        } else if ((argument == "--hold" || argument == "--restart-after") && valued) {
            const auto parsed = parseDuration(argv[++i], argument == "--restart-after");
            if (!parsed) return refuse(argv[i], argument == "--hold" ? "whole milliseconds" : "seconds");
            if (argument == "--hold") {
                options.hold = *parsed;
            } else {
                options.restartAfter = *parsed;
            }
        } else {
            return refuse("unknown argument \"" + std::string{argument} + "\"");
        }
    }
    if (pty) {
        if (argc > 2) return refuse("--pty takes no other option");
        return setip::virtual_printer::servePty(std::cout);
    }
    if (options.listen.empty()) options.listen.push_back({"127.0.0.1"});
    return setip::virtual_printer::serveTcp(options, std::cout);
}
