#include "printer/press.h"
#include "tests/native/loopback_peer.h"
#include "tests/ports/pseudo_terminal.h"
#include "tests/support/cups_server.h"
#include "tests/support/table.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

namespace setip {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::PseudoTerminal;

// The new address and the command that sets it: line end and flow control bytes, which only a raw line passes.
const Text newAddress = u"10.13.10.17";
const Bytes command{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0x0A, 0x0D, 0x0A, 0x11};

// What stands in for the port. A local one's path follows the row's port name, a network printer's address the
// row's "ETHERNET "; the print servers serve "DRIVER".
enum class StandIn { pty, fifo, lonelyFifo, missing, devNull, rootOnly, ptyInUse, fullFifo, stoppedPty, hangingUpPty,
                     forsakenFifo, none, refusing, fullBacklog, cupsd, stoppedCupsd, silentServer };
using enum StandIn;

struct PortPress {
    const char* name;
    std::string port;
    StandIn device;
    Text choice;    // the baud rate for a serial port, the queue for DRIVER: each kind reads only its own box
    speed_t speed;  // what a serial line runs at after the press; 0 when not checked
    std::string reason;  // "%s" stands for the stand-in's path, address or print server; "" when the command arrives
    bool asNobody = false;    // root passes every permission check and ignores exclusive use
    bool sendFails = false;   // the port opens, and the reason is the send's
    std::chrono::seconds waits{0};  // the deadline the press gives up at
    friend void PrintTo(const PortPress& row, std::ostream* out) { *out << row.name; }
};

// A fresh directory, removed at the end; nobody may reach what is in it.
struct TemporaryDirectory {
    std::string path = (std::filesystem::temp_directory_path() / "setip-ports.XXXXXX").string();
    TemporaryDirectory() {
        if (::mkdtemp(path.data()) == nullptr || ::chmod(path.c_str(), 0711) != 0) throw std::runtime_error{path};
    }
    ~TemporaryDirectory() { std::filesystem::remove_all(path); }
};

// A private cupsd with a raw queue to the test's printer and one that rejects jobs; the press asks the print server
// the row names.
struct PrintServers {
    testing_support::LoopbackPrinter printer;
    testing_support::CupsServer server{{"setip-receipt=socket://" + printer.address(),
                                        "setip-closed=socket://" + printer.address(),
                                        "setip-unfinished=socket://" + printer.address() + ",unfinishable"}};
    std::string name;

    // `silent` takes no connection, as a print server on a dead host.
    PrintServers(StandIn device, const std::string& silent) {
        server.useForThisProcess();
        // A default queue is there to fall back on, so a fallback would show.
        EXPECT_EQ(std::system("timeout 10 /usr/sbin/cupsreject setip-closed && timeout 10 /usr/sbin/lpadmin -d "
                              "setip-receipt"), 0) << server.errorLog();
        name = device == silentServer ? silent : server.serverName();
        if (device == stoppedCupsd) server.stop();
        ::setenv("CUPS_SERVER", name.c_str(), 1);
        cupsSetServer(nullptr);
    }
};

// A resolver that knows no name at all, and counts how often it was asked.
struct UnknownNames final : builtin::NameResolver {
    mutable std::atomic<int> asked{0};
    std::vector<std::string> lookUp(const std::string& host, Deadline) const override {
        ++asked;
        throw PrinterFailure("cannot look up " + host + ": Name or service not known");
    }
};

// Runs in a child that gave up root for nobody (65534, as is its group nogroup): presses with the diagnostics on
// stderr and exits 0 when the port was refused.
[[noreturn]] void pressAsNobody(const PressRequest& request) {
    if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) std::_Exit(2);
    builtin::BuiltinLibrary library;
    const PressOutcome outcome = pressSetIp(request, library);
    std::cerr << "setip: " << outcome.reason << '\n';
    std::_Exit(outcome.handle == failedHandle ? 0 : 1);
}

class PortPressTest : public testing::TestWithParam<PortPress> {};

TEST_P(PortPressTest, DeliversTheExactCommandOrSaysWhyNot) {
    const auto& row = GetParam();
    PseudoTerminal line;
    ASSERT_EQ(::fchmod(line.near.get(), 0666), 0);
    const TemporaryDirectory dir;
    const std::string fifoPath = dir.path + "/fifo";
    ASSERT_EQ(::mkfifo(fifoPath.c_str(), 0600), 0);
    UniqueFd reader{row.device == lonelyFifo ? -1 : ::open(fifoPath.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    const UniqueFd rootOnly{::open((dir.path + "/lp0").c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600)};
    ASSERT_EQ(row.device == ptyInUse ? ::ioctl(line.near.get(), TIOCEXCL) : 0, 0);
    // A full pipe takes nothing more; a line whose output is stopped holds the send, until its far side hangs up.
    const Bytes chunk(4096, 0x20);
    for (const UniqueFd filler{::open(fifoPath.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)};
         (row.device == fullFifo || row.device == forsakenFifo) &&
         ::write(filler.get(), chunk.data(), chunk.size()) > 0;) {
    }
    ASSERT_EQ(row.device == stoppedPty || row.device == hangingUpPty ? ::tcflow(line.near.get(), TCOOFF) : 0, 0);
    // The far side goes while the send waits: the line hangs up, or the device's reader closes it.
    const std::jthread hangUp{[&line, &reader, &row] {
        if (row.device != hangingUpPty && row.device != forsakenFifo) return;
        std::this_thread::sleep_for(200ms);
        (row.device == hangingUpPty ? line.far : reader).reset();
    }};
    std::optional<testing_support::FullBacklog> backlog;
    if (row.device == fullBacklog || row.device == silentServer) backlog.emplace();
    std::optional<PrintServers> servers;
    if (row.device >= cupsd) servers.emplace(row.device, backlog ? backlog->address() : "");
    const std::string paths[] = {line.path, fifoPath, fifoPath, dir.path + "/missing", "/dev/null", dir.path + "/lp0",
                                 line.path, fifoPath, line.path, line.path, fifoPath, "",
                                 testing_support::refusingAddress(), backlog ? backlog->address() : ""};
    const std::string path = servers ? "" : paths[static_cast<int>(row.device)];
    std::string expected = row.reason.empty() ? "" : "setip: " + row.reason + "\n";
    if (const auto at = expected.find("%s"); at != std::string::npos) {
        expected.replace(at, 2, servers ? servers->name : path);
    }
    const bool network = row.port.starts_with("ETHERNET");
    const PressRequest inputs{fromUtf8(network ? "ETHERNET" : row.port + path),
                              fromUtf8(network ? row.port.substr(9) + path : ""), row.choice, row.choice, newAddress};
    if (row.asNobody) {
        EXPECT_EXIT(pressAsNobody(inputs), testing::ExitedWithCode(0), testing::HasSubstr(expected));
        return;
    }
    const auto resolver = std::make_shared<UnknownNames>();
    testing_support::Press press{resolver};
    const auto descriptors = testing_support::openDescriptorCount();

    const auto started = std::chrono::steady_clock::now();
    const PressOutcome outcome = press(inputs);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(waited, row.waits - 100ms) << "gave up before the deadline";
    EXPECT_LT(waited, std::max(row.waits + 2s, row.sendFails ? 7s : 4s)) << "the press outlasted a deadline";
    EXPECT_EQ(resolver->asked, row.reason.starts_with("cannot look up")) << "only a name is looked up";
    EXPECT_EQ(outcome.sent() ? "" : "setip: " + outcome.reason + "\n", expected)
        << (servers ? servers->server.errorLog() : "");
    EXPECT_EQ(outcome.handle == failedHandle, !expected.empty() && !row.sendFails);
    EXPECT_EQ(outcome.failedAt, expected.empty() ? std::nullopt
                                                 : std::optional{row.sendFails ? PressStage::send : PressStage::open});
    EXPECT_EQ(testing_support::openDescriptorCount() + (row.device == hangingUpPty || row.device == forsakenFifo),
              descriptors)  // the far side's
        << "the press left a descriptor open";
    const std::size_t delivered = expected.empty() ? 1 : 0;
    if (servers) {
        EXPECT_EQ(servers->printer.connections(delivered, 20s),
                  std::vector(delivered, testing_support::carrying(command)))
            << servers->server.errorLog();
        return;
    }
    if (row.sendFails) return;
    EXPECT_EQ(testing_support::readArrived(row.device == fifo ? reader.get() : line.far.get(), 11),
              delivered ? command : Bytes{});
    if (row.speed == 0) return;
    // The library leaves its settings on the line, so the far side still reads them after the close.
    termios seen{};
    ASSERT_EQ(::tcgetattr(line.far.get(), &seen), 0);
    EXPECT_EQ(std::pair(::cfgetispeed(&seen), ::cfgetospeed(&seen)), std::pair(row.speed, row.speed));
    EXPECT_EQ(seen.c_cflag & (CSIZE | CSTOPB | PARENB | CRTSCTS | CLOCAL | CREAD),
              static_cast<tcflag_t>(CS8 | CLOCAL | CREAD)) << "not 8N1 without flow control";
    EXPECT_EQ((seen.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR)) | (seen.c_oflag & OPOST) |
                  (seen.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)), 0u) << "not raw";
}

// One slip of the keyboard must not overwrite a file: a typed path to a regular file is refused and left as it was.
TEST(DevicePath, RefusesARegularFileAndLeavesItAsItWas) {
    const TemporaryDirectory dir;
    const std::string notes = dir.path + "/notes.txt";
    std::ofstream{notes} << "the operator's notes";
    for (const std::string port : {"LPT:", "COM:"}) {
        testing_support::Press press;
        EXPECT_EQ(press({fromUtf8(port + notes), u"", u"", u"9600", newAddress}).reason,
                  "\"" + notes + "\" is not a printer device") << port;
        std::ostringstream kept;
        kept << std::ifstream{notes}.rdbuf();
        EXPECT_EQ(kept.str(), "the operator's notes") << port;
    }
}

INSTANTIATE_TEST_SUITE_P(Ports, PortPressTest, testing::ValuesIn(std::vector<PortPress>{
    {"serial at 9600", "COM:", pty, u"9600", B9600, ""},
    {"serial at 115200", "COM:", pty, u"115200", B115200, ""},
    {"baud rate no serial port takes", "COM:", pty, u"12345", 0,
     "cannot open %s: 12345 is not a baud rate a serial port takes"},
    {"not a serial line", "COM:", devNull, u"9600", 0,
     "cannot use %s as a serial port: Inappropriate ioctl for device"},
    {"com9999 is ttyS9998", "COM9999", none, u"9600", 0, "cannot open /dev/ttyS9998: No such file or directory"},
    {"serial line in exclusive use", "COM:", ptyInUse, u"9600", 0, "cannot open %s: Device or resource busy", true},
    {"fifo with a reader", "LPT:", fifo, u"", 0, ""},
    {"device that takes nothing is told at the write deadline", "LPT:", fullFifo, u"", 0,
     "cannot write to %s: the device took nothing for 5 s (is the printer offline?)", false, true,
     builtin::writeBudget},
    {"serial line that takes nothing is told at the write deadline", "COM:", stoppedPty, u"9600", 0,
     "cannot write to %s: the device took nothing for 5 s (is the printer offline?)", false, true,
     builtin::writeBudget},
    {"serial line that hangs up during the send is told", "COM:", hangingUpPty, u"9600", 0,
     "cannot write to %s: Input/output error", false, true},
    {"device whose reader goes during the send is told, and SIGPIPE ends nothing", "LPT:", forsakenFifo, u"", 0,
     "cannot write to %s: Broken pipe", false, true},
    {"fifo without a reader", "LPT:", lonelyFifo, u"", 0, "cannot open %s: No such device or address"},
    {"missing device file", "LPT:", missing, u"", 0, "cannot open %s: No such file or directory"},
    {"device only root may write", "LPT:", rootOnly, u"", 0,
     "cannot open %s: Permission denied (it belongs to group root: add the user to that group and log in again)",
     true},
    {"refusing network printer", "ETHERNET ", refusing, u"", 0, "cannot connect to %s: Connection refused"},
    {"network printer that never answers gives up at the connect deadline", "ETHERNET ", fullBacklog, u"", 0,
     "cannot connect to %s: no answer within 3 s (is the printer on?)", false, false, builtin::connectBudget},
    {"unknown host name", "ETHERNET printer.invalid:9100", none, u"", 0,
     "cannot look up printer.invalid: Name or service not known"},
    {"malformed network address", "ETHERNET 127.0.0.1:http", none, u"", 0,
     "\"127.0.0.1:http\" is not a printer address (host or host:port)"},
    {"installed queue", "DRIVER", cupsd, u"setip-receipt", 0, ""},
    {"unknown queue gives minus one and never the default", "DRIVER", cupsd, u"setip-missing", 0,
     "there is no printer queue \"setip-missing\" on the print server %s"},
    {"empty driver name", "DRIVER", cupsd, u"", 0, "no printer queue is chosen (is a printer installed?)"},
    {"queue that rejects jobs", "DRIVER", cupsd, u"setip-closed", 0,
     "printer queue \"setip-closed\" is not accepting jobs (cupsaccept setip-closed lets it)"},
    {"queue whose job cannot be finished is told", "DRIVER", cupsd, u"setip-unfinished", 0,
     "cannot finish the job on printer queue \"setip-unfinished\": Unauthorized", false, true},
    {"stopped print server", "DRIVER", stoppedCupsd, u"setip-receipt", 0,
     "cannot reach the print server %s for printer queue \"setip-receipt\": Host is down (is cupsd running?)"},
    {"silent print server gives up at the connect deadline", "DRIVER", silentServer, u"setip-receipt", 0,
     "cannot reach the print server %s for printer queue \"setip-receipt\": Connection timed out (is cupsd "
     "running?)", false, false, builtin::connectBudget}}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
