#include "tests/native/loopback_peer.h"
#include "tests/support/table.h"
#include "tests/virtual_printer/byte_strings.h"
#include "tools/virtual-printer/hex_dump.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <regex>
#include <thread>

namespace setip {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::Connection;
using testing_support::LoopbackPrinter;
using testing_support::carrying;
using testing_support::command;
using testing_support::operator+;

const Bytes to7 = command({127, 0, 0, 7});
const Bytes to8 = command({127, 0, 0, 8});
// Off loopback, so the printer stays; only the command carries this address, and nothing is ever sent there.
const Bytes to192 = command({192, 168, 1, 50});
const Bytes status{0x10, 0x04, 0x01};
const Bytes initialise{0x1B, 0x40};

// A connect to a numeric "host:port" that gives up after 5 s; no socket, with errno saying why, when it fails.
UniqueFd connectTo(const std::string& address) {
    const sockaddr_in target = testing_support::socketAddress(address);
    UniqueFd socket{::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)};
    if (::connect(socket.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target) == 0) return socket;
    if (errno != EINPROGRESS) return {};
    pollfd entry{socket.get(), POLLOUT, 0};
    int error = ETIMEDOUT;
    socklen_t length = sizeof error;
    if (::poll(&entry, 1, 5000) == 1) ::getsockopt(socket.get(), SOL_SOCKET, SO_ERROR, &error, &length);
    errno = error;
    return error == 0 ? std::move(socket) : UniqueFd{};
}

bool refuses(const std::string& address) { return !connectTo(address) && errno == ECONNREFUSED; }

// What came back on a connection while it was still sending and after, and how long after `since` the first of it
// (or the hang-up) came.
struct Reply {
    Bytes whileSending;
    Bytes afterwards;
    Clock::duration firstAfter{};
};

// Reads what comes into `bytes` until `count` bytes came or the printer hung up, for at most 5 s.
void readInto(int socket, Reply& reply, Bytes& bytes, std::size_t count, Clock::time_point since) {
    const Deadline deadline = deadlineAfter(5s);
    for (pollfd entry{socket, POLLIN, 0}; bytes.size() < count && ::poll(&entry, 1, millisecondsLeft(deadline)) > 0;) {
        std::uint8_t buffer[64];
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (reply.firstAfter == Clock::duration{}) reply.firstAfter = Clock::now() - since;
        if (got <= 0) return;
        bytes.insert(bytes.end(), buffer, buffer + got);
    }
}

bool sendAll(int socket, const Bytes& bytes) {
    return ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// Sends `sent`, takes an answer of `answerLength` bytes, sends `then`, and shuts the sending side and reads on to
// the printer's hang-up.
Reply exchange(const std::string& address, const Bytes& sent, std::size_t answerLength, Clock::time_point since,
               const Bytes& then = {}) {
    Reply reply;
    const UniqueFd socket = connectTo(address);
    if (!socket || !sendAll(socket.get(), sent)) {
        ADD_FAILURE() << "cannot send to " << address << ": " << std::strerror(errno);
        return reply;
    }
    readInto(socket.get(), reply, reply.whileSending, answerLength, since);
    EXPECT_TRUE(sendAll(socket.get(), then)) << std::strerror(errno);
    ::shutdown(socket.get(), SHUT_WR);
    readInto(socket.get(), reply, reply.afterwards, SIZE_MAX, since);
    return reply;
}

struct Exchange {
    const char* name;
    Bytes sent;
    Connection reported;       // what the printer reports of the connection, its answer included
    const char* movesTo = "";  // the host it listens on next, at the same port; "" to stay
    std::size_t listener = 0;  // which of the two listeners the bytes go to
    std::chrono::milliseconds hold{0};
    std::optional<std::chrono::milliseconds> restartAfter = {};
    friend void PrintTo(const Exchange& row, std::ostream* out) {
        *out << row.name << ": " << virtual_printer::hexBytes(row.sent) << " to listener " << row.listener << ", hold "
             << row.hold.count() << " ms, restart after " << (row.restartAfter ? row.restartAfter->count() : -1)
             << " ms";
    }
};

class VirtualPrinterTest : public testing::TestWithParam<Exchange> {};

// Two listeners; the bytes go to one, and the other stays as it was.
TEST_P(VirtualPrinterTest, ServesTheConnectionThenListensWhereTheCommandSays) {
    const auto& row = GetParam();
    LoopbackPrinter printer{{.hosts = {"127.0.0.2", "127.0.0.3"}, .hold = row.hold, .restartAfter = row.restartAfter}};
    const std::string at = printer.addresses()[row.listener];
    const std::string other = printer.addresses()[1 - row.listener];
    const std::string next = *row.movesTo ? row.movesTo + at.substr(at.find(':')) : at;

    const auto started = Clock::now();
    const Reply reply = exchange(at, row.sent, row.reported.answered.size(), started);
    EXPECT_EQ(reply.whileSending, row.reported.answered) << "no answer at once";
    EXPECT_EQ(reply.afterwards, Bytes{}) << "replied after the sending side was shut";
    EXPECT_GE(reply.firstAfter, row.hold) << "answered or hung up before the hold was over";
    // It has moved by the time it hangs up, or after a restart is silent until the delay is over.
    EXPECT_EQ(refuses(at), next != at) << "listens at " << at << " once it hung up";
    const auto silent = next != at ? row.restartAfter : std::nullopt;
    const Deadline giveUp = silent ? deadlineAfter(5s) : Clock::now();
    UniqueFd probe;
    while (!(probe = connectTo(next)) && Clock::now() < giveUp) std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(probe) << "does not listen at " << next << ": " << std::strerror(errno) << '\n' << printer.output();
    EXPECT_GE(Clock::now() - started, silent.value_or(0ms)) << "listened before the delay was over";
    const auto finished = printer.connections(1, 5s, at);  // then the connects of the checks above
    EXPECT_EQ(finished.empty() ? Connection{} : finished.front(), row.reported) << printer.output();
    EXPECT_TRUE(printer.reported("listening on " + next)) << printer.output();
    EXPECT_TRUE(connectTo(other)) << "the other listener stopped";
    EXPECT_EQ(printer.connections(1, 5s, other), std::vector<Connection>(1)) << printer.output();
}

INSTANTIATE_TEST_SUITE_P(Exchanges, VirtualPrinterTest, testing::ValuesIn(std::vector<Exchange>{
    {"a command for a loopback address moves it there before it hangs up", to7, carrying(to7), "127.0.0.7"},
    {"the second listener moves on its own command", to7, carrying(to7), "127.0.0.7", 1},
    {"a command for an address off loopback leaves it where it is", to192, carrying(to192)},
    {"other bytes around a command are counted and are no command", initialise + to7 + initialise, {{to7}, {}, 15},
     "127.0.0.7"},
    {"the last of two commands decides", to8 + to7, {{to8, to7}, {}, 22}, "127.0.0.7"},
    {"a status request is answered at once with an idle printer's byte", status, {{status}, {0x16}, 3}},
    {"after a restart it listens at the new address, silent until then", to7, carrying(to7), "127.0.0.7", 0, 0ms,
     600ms},
    {"a hold delays the hang-up, and the printer reads to the end", to192, carrying(to192), "", 0, 400ms},
    {"a hold delays the answer too: nothing is read before it is over", status, {{status}, {0x16}, 3}, "", 0, 400ms},
}), testing_support::RowName{});

// The lines for programs stay as they are, whatever the hex dump for people looks like.
TEST(VirtualPrinter, ReportsConnectionsCommandsAnswersAndMovesInLinesForPrograms) {
    LoopbackPrinter printer{{.hosts = {"127.0.0.2"}, .restartAfter = 100ms}};
    const std::string at = printer.address();
    const std::string next = "127.0.0.7" + at.substr(at.find(':'));
    const std::string stays = next + " staying: 192.168.1.50 is not on loopback (127.x.y.z)";
    exchange(at, status, 1, Clock::now(), to7);  // in two reads
    ASSERT_TRUE(printer.reported("listening on " + next)) << printer.output();
    exchange(next, to192, 0, Clock::now());
    ASSERT_TRUE(printer.reported(stays)) << printer.output();

    std::string forPrograms;
    std::istringstream lines{printer.output()};
    for (std::string line; std::getline(lines, line);) {
        if (!line.starts_with(at + "   ") && !line.starts_with(next + "   ")) forPrograms += line + '\n';
    }
    EXPECT_EQ(std::regex_replace(forPrograms, std::regex{"from 127\\.0\\.0\\.1:[0-9]+"}, "from 127.0.0.1:PORT"),
              "listening on " + at + "\n" +
              at + " connection from 127.0.0.1:PORT\n" +
              at + " command 100401 (status request)\n" +
              at + " answer 16 (idle)\n" +
              at + " command 1F1B1F910049507F000007 (new address 127.0.0.7)\n" +
              at + " connection closed after 14 bytes\n" +
              at + " moving to " + next + " after 0.1 s, silent until then\n" +
              "listening on " + next + "\n" +
              next + " connection from 127.0.0.1:PORT\n" +
              next + " command 1F1B1F91004950C0A80132 (new address 192.168.1.50)\n" +
              next + " connection closed after 11 bytes\n" +
              stays + "\n");
}

}  // namespace
}  // namespace setip
