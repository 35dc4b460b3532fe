// Each kind of port over a real stand-in: a pseudo-terminal for a serial line, a FIFO for a printer device, the
// virtual printer and silent listeners on loopback for a network printer, and a private cupsd for a printer queue.
// Every row presses "Set IP" once with the built-in library and checks what the press said and when it gave up, that
// it left no descriptor open, and what reached the far side.
#include "printer/builtin/port.h"
#include "printer/press.h"
#include "tests/native/loopback_peer.h"
#include "tests/native/silent_listeners.h"
#include "tests/ports/pseudo_terminal.h"
#include "tests/support/cups_server.h"
#include "tests/support/table.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <gmock/gmock.h>
#include <grp.h>
#include <linux/capability.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
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

// What every row of every kind expects of its press.
struct Expected {
    std::string reason;                   // "%s" stands for the stand-in's path or address; empty when it delivers
    PressStage stage = PressStage::open;  // where the press stops, when it does
    std::chrono::seconds waits{0};        // the deadline the press gives up at

    std::string said(const std::string& standIn) const { return filledIn(reason, standIn); }

    // `text` with "%s" standing for `standIn`, and "%p" for its port when it is "host:port".
    static std::string filledIn(std::string text, const std::string& standIn) {
        for (const auto& [mark, value] : {std::pair{"%s", standIn}, {"%p", standIn.substr(standIn.find(':') + 1)}}) {
            if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, 2, value);
        }
        return text;
    }
};

// A fresh directory, removed at the end.
struct TemporaryDirectory {
    std::string path = (std::filesystem::temp_directory_path() / "setip-ports.XXXXXX").string();
    TemporaryDirectory() {
        if (::mkdtemp(path.data()) == nullptr) throw std::runtime_error{path};
    }
    ~TemporaryDirectory() { std::filesystem::remove_all(path); }
};

// A resolver that knows one name, printer.test: first an address where nothing listens, then the printer's. It counts
// how often it was asked.
struct OneName final : builtin::NameResolver {
    mutable std::atomic<int> asked{0};
    std::vector<std::string> lookUp(const std::string& host, Deadline) const override {
        ++asked;
        if (host == "printer.test") return {"127.0.0.3", "127.0.0.10"};
        throw PrinterFailure("cannot look up " + host + ": Name or service not known");
    }
};

// Presses once and checks what any press must: the outcome the row expects, a wait that ends at the row's deadline
// and not before, and no descriptor left open (but for the far side's, when the row closes one itself).
void pressAndCheck(const PressRequest& request, const Expected& expected, const std::string& standIn,
                   std::size_t farSidesClosed = 0, const std::shared_ptr<OneName>& resolver = {}) {
    testing_support::Press press{resolver ? resolver : std::make_shared<OneName>()};
    const auto descriptors = testing_support::openDescriptorCount();
    const auto started = Clock::now();
    const PressOutcome outcome = press(request);
    const auto waited = Clock::now() - started;
    EXPECT_EQ(outcome.reason, expected.said(standIn));
    EXPECT_EQ(outcome.failedAt, expected.reason.empty() ? std::nullopt : std::optional{expected.stage});
    EXPECT_GE(waited, expected.waits - 100ms) << "gave up before the deadline";
    EXPECT_LT(waited, std::max<Clock::duration>(expected.waits + 2s, 4s)) << "the press outlasted a deadline";
    EXPECT_EQ(testing_support::openDescriptorCount() + farSidesClosed, descriptors) << "a descriptor was left open";
}

// Root passes every permission check and ignores a line's exclusive use. A row that needs them runs its press in a
// child that gave up every capability, so it refuses as it does for any user; for a user there is nothing to give up.
void dropCapabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct none[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capset, &header, none) != 0) std::_Exit(3);
}

// The hint a refused device's reason ends with: the group that owns it, since joining that is the usual fix.
std::string groupHintOf(const std::string& path) {
    struct stat status {};
    const group* owner = ::stat(path.c_str(), &status) == 0 ? ::getgrgid(status.st_gid) : nullptr;
    return std::string{owner ? owner->gr_name : "?"} + ": add the user to that group and log in again)";
}

// Presses in such a child, whose exit status is 0 when the press said `reason` and opened nothing.
[[noreturn]] void pressWithoutCapabilities(const PressRequest& request, const std::string& reason) {
    dropCapabilities();
    builtin::BuiltinLibrary library;
    const PressOutcome outcome = pressSetIp(request, library);
    std::cerr << outcome.reason << '\n';
    std::_Exit(outcome.reason == reason && outcome.handle == failedHandle ? 0 : 1);
}

// A serial line on a pseudo-terminal, in the state the row puts it in.
enum class Line { idle, heldByAnother, stopped, hangsUp, notALine, missing };

struct SerialRow {
    const char* name;
    Line line;
    Text baudRate;
    speed_t speed;  // what the line runs at after a press that delivered
    Expected expected;
    friend void PrintTo(const SerialRow& row, std::ostream* out) { *out << row.name << " at " << toUtf8(row.baudRate); }
};

class SerialLine : public testing::TestWithParam<SerialRow> {
protected:
    PseudoTerminal pty;
};

TEST_P(SerialLine, DeliversTheCommandRawOrSaysWhyNot) {
    const SerialRow& row = GetParam();
    const std::string path = row.line == Line::notALine ? "/dev/null"
                             : row.line == Line::missing ? "/dev/ttyS9998"
                                                         : pty.path;
    const Text port = row.line == Line::missing ? u"COM9999" : u"COM:" + fromUtf8(path);
    const PressRequest request{port, u"", u"", row.baudRate, newAddress};
    if (row.line == Line::heldByAnother) {
        ASSERT_EQ(::ioctl(pty.near.get(), TIOCEXCL), 0);
        EXPECT_EXIT(pressWithoutCapabilities(request, row.expected.said(path)), testing::ExitedWithCode(0), "");
        return;
    }
    // Another program may have left the line with flow control, two stop bits and parity; the press undoes them.
    termios left{};
    ASSERT_EQ(::tcgetattr(pty.near.get(), &left), 0);
    left.c_cflag |= CRTSCTS | CSTOPB | PARODD | HUPCL;
    left.c_iflag |= IXOFF | IXANY;
    ASSERT_EQ(::tcsetattr(pty.near.get(), TCSANOW, &left), 0);
    // A line whose output is stopped holds the send until the deadline, or until its far side hangs up.
    const bool held = row.line == Line::stopped || row.line == Line::hangsUp;
    ASSERT_EQ(held ? ::tcflow(pty.near.get(), TCOOFF) : 0, 0);
    const std::jthread hangUp{[&] {
        if (row.line != Line::hangsUp) return;
        std::this_thread::sleep_for(200ms);
        pty.far.reset();
    }};
    pressAndCheck(request, row.expected, path, row.line == Line::hangsUp ? 1 : 0);
    if (!row.expected.reason.empty()) return;

    EXPECT_EQ(testing_support::readArrived(pty.far.get(), 11), command);
    // The library leaves its settings on the line, so the far side still reads them after the close.
    termios seen{};
    ASSERT_EQ(::tcgetattr(pty.far.get(), &seen), 0);
    EXPECT_EQ(std::pair(::cfgetispeed(&seen), ::cfgetospeed(&seen)), std::pair(row.speed, row.speed));
    EXPECT_EQ(seen.c_cflag & (CSIZE | CSTOPB | PARENB | PARODD | CRTSCTS | HUPCL | CLOCAL | CREAD),
              static_cast<tcflag_t>(CS8 | CLOCAL | CREAD)) << "not 8N1 without flow control";
    EXPECT_EQ((seen.c_iflag & (IXON | IXOFF | IXANY | ICRNL | INLCR)) | (seen.c_oflag & OPOST) |
                  (seen.c_lflag & (ICANON | ECHO | ISIG | IEXTEN)), 0u) << "not raw";
}

INSTANTIATE_TEST_SUITE_P(Ports, SerialLine, testing::Values(
    SerialRow{"serial at 9600", Line::idle, u"9600", B9600, {}},
    SerialRow{"serial at 19200", Line::idle, u"19200", B19200, {}},
    SerialRow{"serial at 115200", Line::idle, u"115200", B115200, {}},
    SerialRow{"baud rate no serial port takes", Line::idle, u"12345", 0,
              {"cannot open %s: 12345 is not a baud rate a serial port takes"}},
    SerialRow{"not a serial line", Line::notALine, u"9600", 0,
              {"cannot use %s as a serial port: Inappropriate ioctl for device"}},
    SerialRow{"com9999 is ttyS9998", Line::missing, u"9600", 0, {"cannot open %s: No such file or directory"}},
    SerialRow{"serial line in exclusive use elsewhere", Line::heldByAnother, u"9600", 0,
              {"cannot open %s: Device or resource busy"}},
    SerialRow{"serial line that takes nothing is told at the write deadline", Line::stopped, u"9600", 0,
              {"cannot write to %s: the device took nothing for 5 s (is the printer offline?)", PressStage::send,
               builtin::writeBudget}},
    SerialRow{"serial line that hangs up during the send is told", Line::hangsUp, u"9600", 0,
              {"cannot write to %s: Input/output error", PressStage::send}}),
    testing_support::RowName{});

// The library holds a line for itself alone (TIOCEXCL), and every other open, its own too, is refused while it
// lasts; so it lets the line go before it opens one again. Exits 0 when another open is refused and the library's
// second open succeeds.
[[noreturn]] void openTwiceWithoutCapabilities(const std::string& path) {
    dropCapabilities();
    builtin::BuiltinLibrary library;
    try {
        library.open(PortKind::serial, u"COM:" + fromUtf8(path), {9600, 8, 0, 0});
        if (::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC) >= 0 || errno != EBUSY) std::_Exit(2);
        library.open(PortKind::serial, u"COM:" + fromUtf8(path), {9600, 8, 0, 0});
    } catch (const PrinterFailure& refused) {
        std::cerr << refused.what() << '\n';
        std::_Exit(1);
    }
    std::_Exit(0);
}

TEST(HeldLine, IsRefusedToOthersAndOpensAgain) {
    const PseudoTerminal pty;
    EXPECT_EXIT(openTwiceWithoutCapabilities(pty.path), testing::ExitedWithCode(0), "");
}

// A printer device on a FIFO, in the state the row puts it in, or what else a path may name.
enum class Device { reader, full, readerGoes, noReader, missing, locked, regularFile };

struct DeviceRow {
    const char* name;
    Device device;
    Expected expected;
    friend void PrintTo(const DeviceRow& row, std::ostream* out) { *out << row.name; }
};

class PrinterDevice : public testing::TestWithParam<DeviceRow> {
protected:
    TemporaryDirectory dir;
    std::string path = dir.path + "/lp0";
};

TEST_P(PrinterDevice, DeliversTheCommandOrSaysWhyNot) {
    const DeviceRow& row = GetParam();
    const PressRequest request{u"LPT:" + fromUtf8(path), u"", u"", u"", newAddress};
    if (row.device == Device::regularFile) {
        std::ofstream{path} << "the operator's notes";
        pressAndCheck(request, row.expected, path);
        std::ostringstream kept;
        kept << std::ifstream{path}.rdbuf();
        EXPECT_EQ(kept.str(), "the operator's notes") << "one slip of the keyboard overwrote a file";
        return;
    }
    ASSERT_EQ(row.device == Device::missing ? 0 : ::mkfifo(path.c_str(), row.device == Device::locked ? 0 : 0600), 0);
    if (row.device == Device::locked) {
        const std::string reason = row.expected.said(path) + groupHintOf(path);
        EXPECT_EXIT(pressWithoutCapabilities(request, reason), testing::ExitedWithCode(0), "");
        return;
    }
    UniqueFd reader{row.device == Device::noReader || row.device == Device::missing
                        ? -1
                        : ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    // A full pipe takes nothing more, until its reader goes.
    const Bytes chunk(4096, 0x20);
    for (const UniqueFd filler{reader ? ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC) : -1};
         (row.device == Device::full || row.device == Device::readerGoes) &&
         ::write(filler.get(), chunk.data(), chunk.size()) > 0;) {
    }
    const std::jthread readerGoes{[&] {
        if (row.device != Device::readerGoes) return;
        std::this_thread::sleep_for(200ms);
        reader.reset();
    }};
    pressAndCheck(request, row.expected, path, row.device == Device::readerGoes ? 1 : 0);
    if (row.device == Device::reader) {
        EXPECT_EQ(testing_support::readArrived(reader.get(), 11), command);
    }
}

INSTANTIATE_TEST_SUITE_P(Ports, PrinterDevice, testing::Values(
    DeviceRow{"fifo with a reader", Device::reader, {}},
    DeviceRow{"device that takes nothing is told at the write deadline", Device::full,
              {"cannot write to %s: the device took nothing for 5 s (is the printer offline?)", PressStage::send,
               builtin::writeBudget}},
    DeviceRow{"device whose reader goes during the send is told, and SIGPIPE ends nothing", Device::readerGoes,
              {"cannot write to %s: Broken pipe", PressStage::send}},
    DeviceRow{"fifo without a reader", Device::noReader, {"cannot open %s: No such device or address"}},
    DeviceRow{"missing device file", Device::missing, {"cannot open %s: No such file or directory"}},
    DeviceRow{"device the user may not write names its group", Device::locked,
              {"cannot open %s: Permission denied (it belongs to group "}},
    DeviceRow{"regular file is refused and left as it was", Device::regularFile, {"\"%s\" is not a printer device"}}),
    testing_support::RowName{});

// A printer at its network address, as the row makes it: the virtual printer, one that holds off reading, a
// listener that refuses, never answers or takes the bytes and never hangs up, or no address at all.
enum class Peer { printer, slowPrinter, refusing, silent, mute, none };

struct NetworkRow {
    const char* name;
    Peer peer;
    std::string present;  // as typed; "%s" stands for the peer's address
    Expected expected;
    friend void PrintTo(const NetworkRow& row, std::ostream* out) { *out << row.name << ": " << row.present; }
};

class NetworkPrinter : public testing::TestWithParam<NetworkRow> {};

TEST_P(NetworkPrinter, DeliversTheCommandOrSaysWhyNot) {
    const NetworkRow& row = GetParam();
    std::optional<testing_support::LoopbackPrinter> printer;
    if (row.peer == Peer::printer) printer.emplace("127.0.0.10");
    // It holds off reading, and hangs up only once it has read to the end.
    constexpr auto hold = 300ms;
    if (row.peer == Peer::slowPrinter) {
        printer.emplace(testing_support::LoopbackPrinter::Options{.hosts = {"127.0.0.11"}, .hold = hold});
    }
    using Backlog = testing_support::SilentListeners::Backlog;
    std::optional<testing_support::SilentListeners> silent;
    if (row.peer == Peer::silent || row.peer == Peer::mute) {
        silent.emplace(row.peer == Peer::mute ? Backlog::room : Backlog::full);
    }
    const std::string peer = printer   ? printer->address()
                             : silent  ? silent->address()
                             : row.peer == Peer::refusing ? testing_support::refusingAddress()
                                                          : "";
    const std::string present = Expected::filledIn(row.present, peer);
    const auto resolver = std::make_shared<OneName>();
    const auto started = Clock::now();
    pressAndCheck({u"ETHERNET", fromUtf8(present), u"", u"", newAddress}, row.expected, peer, 0, resolver);
    EXPECT_EQ(resolver->asked, row.present.starts_with("printer.")) << "only a name is looked up";
    if (!printer) return;
    // The close lets the printer read to the end and hang up before the press returns.
    EXPECT_GE(Clock::now() - started, row.peer == Peer::slowPrinter ? hold : 0ms) << "the close did not wait";
    EXPECT_EQ(printer->connections(1), std::vector{testing_support::carrying(command)});
}

INSTANTIATE_TEST_SUITE_P(Ports, NetworkPrinter, testing::Values(
    NetworkRow{"leading zeros are decimal and reach that printer", Peer::printer, "127.0.0.010:%p", {}},
    NetworkRow{"the close waits for a slow printer to hang up", Peer::slowPrinter, "%s", {}},
    NetworkRow{"the close lets go of a printer that never hangs up at the close deadline", Peer::mute, "%s",
               {"", PressStage::send, builtin::closeBudget}},
    NetworkRow{"a name's next address is tried when one refuses", Peer::printer, "printer.test:%p", {}},
    NetworkRow{"refusing network printer", Peer::refusing, "%s", {"cannot connect to %s: Connection refused"}},
    NetworkRow{"network printer that never answers gives up at the connect deadline", Peer::silent, "%s",
               {"cannot connect to %s: no answer within 3 s (is the printer on?)", PressStage::open,
                builtin::connectBudget}},
    NetworkRow{"unknown host name", Peer::none, "printer.invalid:9100",
               {"cannot look up printer.invalid: Name or service not known"}},
    NetworkRow{"malformed network address", Peer::none, "127.0.0.1:http",
               {"\"127.0.0.1:http\" is not a printer address (host or host:port)"}},
    NetworkRow{"fewer than four parts never reach the resolver", Peer::none, "127.1",
               {"\"127.1\" is not an IPv4 address: write four decimal numbers from 0 to 255 with dots between them"}}),
    testing_support::RowName{});

// A printer queue on a private cupsd, as the row leaves the server: running or stopped; or a host that never answers
// or one that takes the connection and then answers nothing.
enum class Server { running, stopped, silent, mute };

struct QueueRow {
    const char* name;
    Server server;
    Text queue;
    Expected expected;  // "%s" stands for the print server
    friend void PrintTo(const QueueRow& row, std::ostream* out) { *out << row.name << ": " << toUtf8(row.queue); }
};

class PrintQueue : public testing::TestWithParam<QueueRow> {
protected:
    // A raw queue to the test's printer, one that rejects jobs and one whose job can never be finished.
    testing_support::LoopbackPrinter printer;
    testing_support::CupsServer server{{"setip-receipt=socket://" + printer.address(),
                                        "setip-closed=socket://" + printer.address(),
                                        "setip-unfinished=socket://" + printer.address() + ",unfinishable"}};
};

TEST_P(PrintQueue, DeliversTheCommandOrSaysWhyNot) {
    const QueueRow& row = GetParam();
    server.useForThisProcess();
    // A default queue is there to fall back on, so a fallback would show.
    ASSERT_EQ(std::system("timeout 10 /usr/sbin/cupsreject setip-closed && timeout 10 /usr/sbin/lpadmin -d "
                          "setip-receipt"), 0) << server.errorLog();
    using Backlog = testing_support::SilentListeners::Backlog;
    std::optional<testing_support::SilentListeners> silent;
    if (row.server == Server::silent || row.server == Server::mute) {
        silent.emplace(row.server == Server::mute ? Backlog::room : Backlog::full);
    }
    const std::string name = silent ? silent->address() : server.serverName();
    if (row.server == Server::stopped) server.stop();
    ::setenv("CUPS_SERVER", name.c_str(), 1);
    cupsSetServer(nullptr);
    pressAndCheck({u"DRIVER", u"", row.queue, u"", newAddress}, row.expected, name);
    cups_job_t* jobs = nullptr;
    const bool gaveUp = row.server == Server::running && !row.expected.reason.empty();
    const int left = gaveUp ? cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, nullptr, 0, CUPS_WHICHJOBS_ACTIVE) : 0;
    cupsFreeJobs(left, jobs);
    EXPECT_EQ(left, 0) << "a job the press gave up on was left on the server";
    const std::size_t delivered = row.expected.reason.empty() ? 1 : 0;
    EXPECT_EQ(printer.connections(delivered, 20s), std::vector(delivered, testing_support::carrying(command)))
        << server.errorLog();
}

INSTANTIATE_TEST_SUITE_P(Ports, PrintQueue, testing::Values(
    QueueRow{"installed queue", Server::running, u"setip-receipt", {}},
    QueueRow{"unknown queue gives minus one and never the default", Server::running, u"setip-missing",
             {"there is no printer queue \"setip-missing\" on the print server %s"}},
    QueueRow{"empty driver name", Server::running, u"", {"no printer queue is chosen (is a printer installed?)"}},
    QueueRow{"queue that rejects jobs", Server::running, u"setip-closed",
             {"printer queue \"setip-closed\" is not accepting jobs (cupsaccept setip-closed lets it)"}},
    QueueRow{"queue whose job cannot be finished is told", Server::running, u"setip-unfinished",
             {"cannot finish the job on printer queue \"setip-unfinished\": Unauthorized", PressStage::send}},
    QueueRow{"stopped print server", Server::stopped, u"setip-receipt",
             {"cannot reach the print server %s for printer queue \"setip-receipt\": Host is down (is cupsd running?)"}},
    QueueRow{"print server that answers nothing gives up at the write deadline", Server::mute, u"setip-receipt",
             {"cannot look up printer queue \"setip-receipt\": the print server gave no answer within 5 s", PressStage::open,
              builtin::writeBudget}},
    QueueRow{"silent print server gives up at the connect deadline", Server::silent, u"setip-receipt",
             {"cannot reach the print server %s for printer queue \"setip-receipt\": Connection timed out (is cupsd "
              "running?)", PressStage::open, builtin::connectBudget}}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
