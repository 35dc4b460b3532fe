#include "tests/native/silent_listeners.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace setip::testing_support {
namespace {

builtin::SocketAddress addressOf(const std::string& host, std::uint16_t port) {
    const auto address = builtin::numericAddress(host, port);
    if (!address) throw std::invalid_argument(host + " is no numeric address");
    return *address;
}

// A listener with no backlog on host:port; a free port is taken when `port` is 0, and given back.
builtin::Socket listenOn(const std::string& host, std::uint16_t& port) {
    auto address = addressOf(host, port);
    builtin::Socket listener = builtin::openStreamSocket(address.family(), "a silent listener");
    builtin::SocketLength length = address.length;
    if (::bind(listener.get(), address.get(), length) != 0 || ::listen(listener.get(), 0) != 0 ||
        ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address.storage), &length) != 0) {
        throw std::runtime_error("cannot listen on " + host + ":" + std::to_string(port));
    }
    port = ntohs(reinterpret_cast<const sockaddr_in*>(&address.storage)->sin_port);
    return listener;
}

}  // namespace

SilentListeners::SilentListeners(Backlog backlog, const std::vector<std::string>& hosts, std::uint16_t port)
    : firstHost_(hosts.front()), port_(port) {
    builtin::startSockets();
    for (const auto& host : hosts) listeners_.push_back(listenOn(host, port_));
    if (backlog == Backlog::room) return;
    // Each round connects once more to every listener not yet full; a connect that stays pending shows it is.
    std::vector<std::string> filling = hosts;
    for (int round = 0; round < 16 && !filling.empty(); ++round) {
        std::vector<builtin::SocketWait> connects;
        const std::size_t first = fillers_.size();
        for (const auto& host : filling) {
            const auto address = addressOf(host, port_);
            fillers_.push_back(builtin::openStreamSocket(address.family(), "a filler"));
            builtin::startConnecting(fillers_.back(), address.get(), address.length, "a filler");
        }
        for (std::size_t i = first; i < fillers_.size(); ++i) connects.push_back({&fillers_[i], true});
        std::this_thread::sleep_for(std::chrono::milliseconds{200});
        builtin::waitForAny(connects, Clock::now());
        std::vector<std::string> open;
        for (std::size_t i = 0; i < filling.size(); ++i) {
            if (connects[i].readiness == builtin::Readiness::ready) open.push_back(filling[i]);
        }
        filling = std::move(open);
    }
    if (!filling.empty()) throw std::runtime_error("the listen backlog of " + filling.front() + " never filled");
}

}  // namespace setip::testing_support
