// Feeds arbitrary text to the present-address parser. It refuses the text, or gives a host and a port from 1 to 65535
// that, unless it is the raw printing port, ends the text. A host of digits and dots is always four plain decimal
// numbers from 0 to 255 that parse to themselves; any other host is found in the text. Anything else is a finding.
#include "printer/builtin/network_address.h"

#include <algorithm>
#include <cstdlib>

namespace {

bool plainDottedQuad(const std::string& host) {
    int parts = 0;
    for (std::size_t start = 0; start <= host.size(); ++parts) {
        const auto dot = std::min(host.find('.', start), host.size());
        const std::string part = host.substr(start, dot - start);
        if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0') || std::stoi(part) > 255) return false;
        start = dot + 1;
    }
    return parts == 4;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text{reinterpret_cast<const char*>(data), size};
    setip::builtin::NetworkAddress address;
    try {
        address = setip::builtin::parseNetworkAddress(text);
    } catch (const setip::PrinterFailure&) {
        return 0;
    }
    const std::string_view trimmed = text.substr(0, text.find_last_not_of(" \t") + 1);
    const bool digitsAndDots = std::all_of(address.host.begin(), address.host.end(),
                                           [](char c) { return (c >= '0' && c <= '9') || c == '.'; });
    const bool hostAsRead = digitsAndDots ? plainDottedQuad(address.host) &&
                                                setip::builtin::parseNetworkAddress(address.host).host == address.host
                                          : text.find(address.host) != std::string_view::npos;
    if (address.host.empty() || !hostAsRead || address.port == 0 ||
        (address.port != setip::builtin::rawPrintingPort && !trimmed.ends_with(std::to_string(address.port)))) {
        std::abort();
    }
    return 0;
}
