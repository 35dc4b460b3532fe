#include "tests/native/loopback_peer.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <filesystem>
#include <sstream>
#include <system_error>

namespace setip::testing_support {
namespace {

// Listens on host and a free port; gives the "host:port" it got.
UniqueFd listenOn(const std::string& host, int backlog, std::string& address) {
    UniqueFd fd{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    auto bound = socketAddress(host + ":0");
    socklen_t length = sizeof bound;
    if (::bind(fd.get(), reinterpret_cast<sockaddr*>(&bound), length) != 0 || ::listen(fd.get(), backlog) != 0 ||
        ::getsockname(fd.get(), reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        throw std::system_error(errno, std::generic_category(), "listen on " + host);
    }
    address = host + ":" + std::to_string(ntohs(bound.sin_port));
    return fd;
}

}  // namespace

LoopbackPrinter::LoopbackPrinter(const std::string& host)
    : address_(refusingAddress(host)), process_({VIRTUAL_PRINTER_PATH, "--listen", address_}) {
    if (!process_.waitForLine("listening on " + address_, deadlineAfter(std::chrono::seconds{5}))) {
        throw std::runtime_error("the virtual printer did not start: " + process_.output());
    }
}

std::vector<Bytes> LoopbackPrinter::connections(std::size_t count, std::chrono::milliseconds wait) {
    const Deadline deadline = deadlineAfter(wait);
    for (;;) {
        // Each connection's bytes come as hex dump lines ("  0000  1F 1B ...", 16 a line), then its close.
        std::vector<Bytes> finished;
        Bytes current;
        std::istringstream lines{process_.output()};
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("connection closed")) finished.push_back(std::exchange(current, {}));
            for (std::size_t at = 8; line.starts_with("  ") && at + 2 < line.size() && line[at] != ' '; at += 3) {
                current.push_back(static_cast<std::uint8_t>(std::stoi(line.substr(at, 2), nullptr, 16)));
            }
        }
        if (finished.size() >= count || !process_.waitForLine("connection closed", deadline)) return finished;
    }
}

FullBacklog::FullBacklog() : listener_(listenOn("127.0.0.1", 0, address_)) {
    // Connects complete into the accept queue until it is full; the first that stays pending shows it is.
    const auto target = socketAddress(address_);
    for (int attempt = 0; attempt < 16; ++attempt) {
        UniqueFd& filler = fillers_.emplace_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        ::connect(filler.get(), reinterpret_cast<const sockaddr*>(&target), sizeof target);
        pollfd entry{filler.get(), POLLOUT, 0};
        if (::poll(&entry, 1, 200) == 0) return;
    }
    throw std::runtime_error("the listen backlog never filled");
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
    std::string address;
    listenOn(host, 1, address);  // closed again at once, so the port is free and refuses
    return address;
}

std::size_t openDescriptorCount() {
    const std::filesystem::directory_iterator open{"/proc/self/fd"};
    return static_cast<std::size_t>(std::distance(begin(open), end(open))) - 1;  // less the iterator's own
}

}  // namespace setip::testing_support
