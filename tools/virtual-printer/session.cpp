#include "tools/virtual-printer/session.h"

#include "tools/virtual-printer/hex_dump.h"

namespace setip::virtual_printer {
namespace {

// Online, no error, paper present: only the bits that are always set, and the drawer sensor high.
constexpr std::uint8_t idleStatus = 0x16;

}  // namespace

std::vector<std::uint8_t> Session::receive(std::span<const std::uint8_t> bytes) {
    std::ostream& report = report_;
    report << hexDump(where_, bytes, received_);
    received_ += bytes.size();
    std::vector<std::uint8_t> answer;
    for (const auto& command : scanner_.feed(bytes)) {
        report << where_ << " command " << hexBytes(command);
        if (const auto octets = newAddressIn(command)) {
            newAddress_ = octets;
            report << " (new address " << dotted(*octets) << ")\n";
            continue;
        }
        answer.push_back(idleStatus);
        report << " (status request)\n" << where_ << " answer " << hexBytes({&idleStatus, 1}) << " (idle)\n";
    }
    return answer;
}

}  // namespace setip::virtual_printer
