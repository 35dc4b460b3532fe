#include "tests/native/loopback_peer.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <iterator>
#include <sstream>
#include <system_error>

namespace setip::testing_support {
namespace {

std::vector<std::string> printerArguments(const std::vector<std::string>& addresses,
                                          const LoopbackPrinter::Options& options) {
    std::vector<std::string> arguments{VIRTUAL_PRINTER_PATH};
    for (const auto& address : addresses) arguments.insert(arguments.end(), {"--listen", address});
    if (options.hold.count() > 0) arguments.insert(arguments.end(), {"--hold", std::to_string(options.hold.count())});
    if (options.restartAfter) {
        const std::chrono::duration<double> seconds = *options.restartAfter;
        arguments.insert(arguments.end(), {"--restart-after", std::to_string(seconds.count())});
    }
    return arguments;
}

// The lines of `output` that the printer has finished writing.
std::vector<std::string> wholeLines(const std::string& output) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = output.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(output.substr(start, end - start));
    }
    return lines;
}

Bytes fromHex(const std::string& hex) {
    Bytes bytes;
    for (std::size_t at = 0; at + 1 < hex.size(); at += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(at, 2), nullptr, 16)));
    }
    return bytes;
}

// The finished connections at `listener`, from the lines that begin with its address and a keyword.
std::vector<Connection> finishedAt(const std::string& listener, const std::string& output) {
    std::vector<Connection> finished;
    Connection current;
    for (const std::string& line : wholeLines(output)) {
        std::istringstream words{line};
        std::string where, keyword, value, after;
        words >> where >> keyword >> value;
        if (where != listener) continue;
        if (keyword == "command") current.commands.push_back(fromHex(value));
        if (keyword == "answer") std::ranges::copy(fromHex(value), std::back_inserter(current.answered));
        if (keyword == "connection" && value == "closed" && words >> after >> current.length) {
            finished.push_back(std::exchange(current, {}));
        }
    }
    return finished;
}

}  // namespace

void PrintTo(const Connection& connection, std::ostream* out) {
    *out << std::hex << std::uppercase << "{commands";
    for (const auto& command : connection.commands) {
        *out << ' ';
        for (const int byte : command) *out << (byte < 16 ? "0" : "") << byte;
    }
    *out << ", answered";
    for (const int byte : connection.answered) *out << ' ' << (byte < 16 ? "0" : "") << byte;
    *out << std::dec << ", " << connection.length << " bytes in all}";
}

Connection carrying(const Bytes& command) { return {{command}, {}, command.size()}; }

LoopbackPrinter::LoopbackPrinter(const std::string& host) : LoopbackPrinter(Options{.hosts = {host}}) {}

LoopbackPrinter::LoopbackPrinter(const Options& options)
    : addresses_([&options] {
          std::vector<std::string> addresses;
          for (const auto& host : options.hosts) {
              addresses.push_back(options.port == 0 ? refusingAddress(host) : host + ":" + std::to_string(options.port));
          }
          return addresses;
      }()),
      process_(printerArguments(addresses_, options)) {
    for (const auto& address : addresses_) {
        if (!reported("listening on " + address)) {
            throw std::runtime_error("the virtual printer did not start: " + output());
        }
    }
}

std::vector<Connection> LoopbackPrinter::connections(std::size_t count, std::chrono::milliseconds wait,
                                                     const std::string& listener) {
    std::vector<Connection> finished;
    process_.waitUntil([&](const std::string& output) {
        finished = finishedAt(listener.empty() ? address() : listener, output);
        return finished.size() >= count;
    }, wait);
    return finished;
}

bool LoopbackPrinter::reported(const std::string& line, std::chrono::milliseconds wait) {
    return process_.waitUntil([&](const std::string& output) {
        const auto lines = wholeLines(output);
        return std::ranges::find(lines, line) != lines.end();
    }, wait);
}

sockaddr_in socketAddress(const std::string& address) {
    const auto colon = address.find(':');
    sockaddr_in socket{};
    socket.sin_family = AF_INET;
    socket.sin_port = htons(static_cast<std::uint16_t>(std::stoi(address.substr(colon + 1))));
    ::inet_pton(AF_INET, address.substr(0, colon).c_str(), &socket.sin_addr);
    return socket;
}

std::string refusingAddress(const std::string& host) {
    // A port bound and closed again at once is free, and refuses.
    const UniqueFd fd{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    auto bound = socketAddress(host + ":0");
    socklen_t length = sizeof bound;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&bound), length) != 0 ||
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        throw std::system_error(errno, std::generic_category(), "bind on " + host);
    }
    return host + ":" + std::to_string(ntohs(bound.sin_port));
}

std::size_t openDescriptorCount() {
    const std::filesystem::directory_iterator open{"/proc/self/fd"};
    return static_cast<std::size_t>(std::distance(begin(open), end(open))) - 1;  // less the iterator's own
}

}  // namespace setip::testing_support
