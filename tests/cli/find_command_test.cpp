#include "app/cli/command_line.h"
#include "printer/builtin/scan.h"
#include "tests/native/loopback_peer.h"
#include "tests/native/silent_listeners.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/resource.h>

#include <optional>
#include <sstream>

namespace setip::cli {
namespace {

using namespace std::chrono_literals;
using testing_support::Connection;
using testing_support::LoopbackPrinter;

// `setip find` over loopback alone: virtual printers on a few 127.0.0.x hosts at one port, every other host of the
// range refusing, or silent. "{port}" in a row stands for that port.
struct FindRow {
    const char* name;
    std::vector<std::string> arguments;  // after "find"
    std::vector<std::string> printers;   // hosts with a virtual printer at the port
    std::vector<LocalNetwork> networks;  // the machine's own, as the test makes them
    int exitCode;
    std::string out;    // the whole standard output; a JSON document compared compact
    std::string err;    // a part of standard error
    std::vector<Connection> eachPrinterSaw = {};  // the connections each printer had; none unless given
    bool silentElsewhere = false;                 // every other host of 127.0.0.0/24 silent at the port
    std::chrono::milliseconds within{0};          // when given, what the scan must take less than
    bool terminal = false;                        // standard error is a terminal

    friend void PrintTo(const FindRow& row, std::ostream* out) {
        *out << row.name << ": find";
        for (const auto& argument : row.arguments) *out << ' ' << argument;
        *out << (row.silentElsewhere ? ", the others silent" : "");
    }
};

std::string withPort(std::string text, std::uint16_t port) {
    for (std::size_t at; (at = text.find("{port}")) != std::string::npos;) text.replace(at, 6, std::to_string(port));
    return text;
}

std::vector<std::string> silentHosts(const std::vector<std::string>& printers) {
    std::vector<std::string> hosts;
    for (int last = 1; last < 255; ++last) {
        const std::string host = "127.0.0." + std::to_string(last);
        if (std::ranges::find(printers, host) == printers.end()) hosts.push_back(host);
    }
    return hosts;
}

class FindCommand : public testing::TestWithParam<FindRow> {
protected:
    // A silent /24 holds hundreds of sockets in this process, the scan's own besides.
    static void SetUpTestSuite() {
        rlimit files{};
        ::getrlimit(RLIMIT_NOFILE, &files);
        files.rlim_cur = files.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &files);
    }
};

TEST_P(FindCommand, ScansOnlyWhenAskedAndTellsWhatAnswered) {
    const FindRow& row = GetParam();
    std::optional<testing_support::SilentListeners> silent;
    using Backlog = testing_support::SilentListeners::Backlog;
    if (row.silentElsewhere) silent.emplace(Backlog::full, silentHosts(row.printers));
    const std::string refusing = testing_support::refusingAddress();
    const auto port = silent ? silent->port() : static_cast<std::uint16_t>(std::stoi(refusing.substr(10)));
    std::optional<LoopbackPrinter> printers;
    if (!row.printers.empty()) printers.emplace(LoopbackPrinter::Options{.hosts = row.printers, .port = port});

    std::vector<std::string> arguments{"find"};
    for (const auto& argument : row.arguments) arguments.push_back(withPort(argument, port));
    std::ostringstream out, err;
    Console console{out, err, row.terminal};
    const System system{{}, {}, [&row] { return row.networks; }, {}};
    const auto started = Clock::now();
    EXPECT_EQ(runCommandLine(arguments, console, system), row.exitCode) << err.str();
    const auto took = Clock::now() - started;

    const std::string expected = withPort(row.out, port);
    EXPECT_EQ(expected.starts_with('{') ? nlohmann::ordered_json::parse(out.str()).dump() : out.str(), expected);
    EXPECT_NE(err.str().find(withPort(row.err, port)), std::string::npos) << err.str();
    if (row.within > 0ms) {
        EXPECT_LT(took, row.within);
    }
    for (const auto& address : printers ? printers->addresses() : std::vector<std::string>{}) {
        const auto wait = row.eachPrinterSaw.empty() ? 300ms : 5000ms;
        EXPECT_EQ(printers->connections(std::max<std::size_t>(1, row.eachPrinterSaw.size()), wait, address),
                  row.eachPrinterSaw)
            << address << '\n' << printers->output();
    }
}

const std::vector<std::string> threePrinters{"127.0.0.30", "127.0.0.9", "127.0.0.100"};
const std::string threeFound = "ADDRESS          PORT\n127.0.0.9        {port}\n127.0.0.30       {port}\n"
                               "127.0.0.100      {port}\n";
const Connection empty{};
const Connection statusAsked{{{0x10, 0x04, 0x01}}, {0x16}, 3};
const std::vector<LocalNetwork> loopbackNetworks{
    {"lo-a", "127.0.0.0/28"}, {"lo-wide", "127.0.0.0/16"}, {"lo-b", "127.0.0.16/29"}};

INSTANTIATE_TEST_SUITE_P(Rows, FindCommand, testing::Values(
    FindRow{"three printers among refusing addresses are listed by address and sent nothing",
            {"127.0.0.0/24", "--port", "{port}"}, threePrinters, {}, 0, threeFound,
            "setip: 3 of 254 addresses answered on port {port}\n", {empty}},
    FindRow{"a /24 where all else is silent takes about one deadline, not hundreds",
            {"127.0.0.0/24", "--port", "{port}", "--timeout", "0.3"}, threePrinters, {}, 0, threeFound,
            "setip: 3 of 254 addresses answered on port {port}\n", {empty}, true, 900ms},
    FindRow{"identify sends each the status request alone and shows the byte back",
            {"127.0.0.0/24", "--port", "{port}", "--identify"}, threePrinters, {}, 0,
            "ADDRESS          PORT   STATUS\n127.0.0.9        {port}  0x16, a printer's status\n"
            "127.0.0.30       {port}  0x16, a printer's status\n127.0.0.100      {port}  0x16, a printer's status\n",
            "setip: 3 of 254 addresses answered on port {port}\n", {statusAsked}},
    FindRow{"nothing answering ends with 1 and no table", {"127.0.0.0/28", "--port", "{port}"}, {}, {}, 1, "",
            "setip: none of 14 addresses answered on port {port}\n"},
    FindRow{"json is one document: the request, the ranges and each found with its status",
            {"127.0.0.8/30", "127.0.0.9", "--port", "{port}", "--identify", "--json", "--timeout", "2"},
            {"127.0.0.9"}, {}, 0,
            R"({"command":"find","request":{"ranges":["127.0.0.8/30","127.0.0.9"],"local":false,"port":{port},)"
            R"("identify":true,"timeout":2.0},"networks":[],"scanned":[{"range":"127.0.0.8/30","interface":null,)"
            R"("addresses":2},{"range":"127.0.0.9","interface":null,"addresses":1}],"skipped":[],"found":[{"address":)"
            R"("127.0.0.9","port":{port},"status":22,"receipt_printer":true}],"outcome":"found","exit_code":0})",
            "setip: 1 of 2 addresses answered", {statusAsked}},
    FindRow{"local scans the machine's networks and skips one of more than 1,024 addresses",
            {"--local", "--port", "{port}", "--json"}, {"127.0.0.9", "127.0.0.20"}, loopbackNetworks, 0,
            R"({"command":"find","request":{"ranges":[],"local":true,"port":{port},"identify":false,"timeout":1.0},)"
            R"("networks":[{"range":"127.0.0.0/28","interface":"lo-a","addresses":14,"too_large":false},{"range":)"
            R"("127.0.0.0/16","interface":"lo-wide","addresses":65534,"too_large":true},{"range":"127.0.0.16/29",)"
            R"("interface":"lo-b","addresses":6,"too_large":false}],"scanned":[{"range":"127.0.0.0/28","interface":)"
            R"("lo-a","addresses":14},{"range":"127.0.0.16/29","interface":"lo-b","addresses":6}],"skipped":[{"range":)"
            R"("127.0.0.0/16","interface":"lo-wide","addresses":65534}],"found":[{"address":"127.0.0.9","port":{port},)"
            R"("status":null,"receipt_printer":null},{"address":"127.0.0.20","port":{port},"status":null,)"
            R"("receipt_printer":null}],"outcome":"found","exit_code":0})",
            "setip: skipping lo-wide's network 127.0.0.0/16: 65,534 addresses, more than --local scans (1,024); name a "
            "smaller range to scan part of it\nsetip: 2 of 20 addresses answered", {empty}},
    FindRow{"local with every network too large scans nothing and ends with 1", {"--local", "--port", "{port}"}, {}, {{"lo-wide",
            "127.0.0.0/16"}}, 1, "", "(1,024); name a smaller range to scan part of it\nsetip: no network was left to scan\n"},
    FindRow{"no range lists the machine's networks and how to scan them, and scans nothing", {}, {"127.0.0.9"},
            loopbackNetworks, 0,
            "INTERFACE  NETWORK             ADDRESSES\nlo-a       127.0.0.0/28        14\n"
            "lo-wide    127.0.0.0/16        65,534, too many for --local\nlo-b       127.0.0.16/29       6\n",
            "setip: nothing was scanned. To scan these networks: setip find --local; or name a range: "
            "setip find 127.0.0.0/28\n"},
    FindRow{"no range with json lists the networks in the document", {"--json"}, {}, {{"lo-a", "127.0.0.0/28"}}, 0,
            R"({"command":"find","request":{"ranges":[],"local":false,"port":9100,"identify":false,"timeout":1.0},)"
            R"("networks":[{"range":"127.0.0.0/28","interface":"lo-a","addresses":14,"too_large":false}],)"
            R"("scanned":[],"skipped":[],"found":[],"outcome":"listed","exit_code":0})",
            "setip: nothing was scanned."},
    FindRow{"a range wider than a /16 is a usage error, and nothing is sent", {"127.0.0.0/24", "127.0.0.0/15", "--port", "{port}"},
            {"127.0.0.9"}, {}, 64, "",
            "setip: 127.0.0.0/15 holds 131,072 addresses; find scans at most a /16 (65,536) at once: name smaller "
            "ranges\n"},
    FindRow{"on a terminal the progress is drawn on standard error", {"127.0.0.0/28", "--port", "{port}"},
            {"127.0.0.9"}, {}, 0, "ADDRESS          PORT\n127.0.0.9        {port}\n",
            "\rscanning port {port} [####################] 14 of 14, 1 answered", {empty}, false,
            0ms, true}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::cli
