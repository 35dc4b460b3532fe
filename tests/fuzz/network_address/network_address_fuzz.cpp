// Feeds arbitrary text to the present-address parser. It gives nothing, or a host found in the text and a port
// from 1 to 65535 that, unless it is the raw printing port, ends the text; anything else is a finding.
#include "printer/native/network_address.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text{reinterpret_cast<const char*>(data), size};
    const auto address = setip::native::parseNetworkAddress(text);
    if (!address) return 0;
    const std::string_view trimmed = text.substr(0, text.find_last_not_of(" \t") + 1);
    if (address->host.empty() || text.find(address->host) == std::string_view::npos || address->port == 0 ||
        (address->port != setip::native::rawPrintingPort && !trimmed.ends_with(std::to_string(address->port)))) {
        std::abort();
    }
    return 0;
}
