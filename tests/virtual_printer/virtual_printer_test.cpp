#include "tests/native/loopback_peer.h"
#include "tests/virtual_printer/byte_strings.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <regex>

namespace setip {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::LoopbackPrinter;
using testing_support::command;
using testing_support::operator+;

const Bytes to7 = command({127, 0, 0, 7});
const Bytes to8 = command({127, 0, 0, 8});
// Off loopback, so the printer stays; only the command carries this address, and nothing is ever sent there.
const Bytes to192 = command({192, 168, 1, 50});
const Bytes status{0x10, 0x04, 0x01};
const Bytes initialise{0x1B, 0x40};

// Reads until `count` bytes came or the printer hung up, for at most 5 s.
void readUpTo(int socket, std::size_t count) {
    const Deadline deadline = deadlineAfter(5s);
    std::uint8_t buffer[64];
    for (pollfd entry{socket, POLLIN, 0}; count > 0 && ::poll(&entry, 1, millisecondsLeft(deadline)) > 0;) {
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0) return;
        count -= std::min(count, static_cast<std::size_t>(got));
    }
}

bool sendAll(int socket, const Bytes& bytes) {
    return ::send(socket, bytes.data(), bytes.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(bytes.size());
}

// Sends `sent` to a numeric "host:port", takes an answer of `answerLength` bytes, sends `then`, and shuts the sending
// side and reads on to the printer's hang-up.
void talkTo(const std::string& address, const Bytes& sent, std::size_t answerLength = 0, const Bytes& then = {}) {
    const UniqueFd socket{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    const sockaddr_in target = testing_support::socketAddress(address);
    ASSERT_EQ(::connect(socket.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target), 0)
        << address << ": " << std::strerror(errno);
    ASSERT_TRUE(sendAll(socket.get(), sent)) << std::strerror(errno);
    readUpTo(socket.get(), answerLength);
    ASSERT_TRUE(sendAll(socket.get(), then)) << std::strerror(errno);
    ::shutdown(socket.get(), SHUT_WR);
    readUpTo(socket.get(), SIZE_MAX);
}

// The lines for programs stay as they are, whatever the hex dump for people looks like: each connection, each command
// whole however the reads split it, the answer to a status request, and where the last command moves the printer.
TEST(VirtualPrinter, ReportsConnectionsCommandsAnswersAndMovesInLinesForPrograms) {
    LoopbackPrinter printer{{.hosts = {"127.0.0.2"}, .restartAfter = 100ms}};
    const std::string at = printer.address();
    const std::string next = "127.0.0.7" + at.substr(at.find(':'));
    const std::string stays = next + " staying: 192.168.1.50 is not on loopback (127.x.y.z)";
    talkTo(at, status, 1, to7);  // in two reads
    ASSERT_TRUE(printer.reported("listening on " + next)) << printer.output();
    talkTo(next, initialise + to8 + to192);  // the last command decides
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
              next + " command 1F1B1F910049507F000008 (new address 127.0.0.8)\n" +
              next + " command 1F1B1F91004950C0A80132 (new address 192.168.1.50)\n" +
              next + " connection closed after 24 bytes\n" +
              stays + "\n");
}

}  // namespace
}  // namespace setip
