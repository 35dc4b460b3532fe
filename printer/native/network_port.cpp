#include "printer/native/deadlines.h"
#include "printer/native/network_address.h"
#include "printer/native/network_connect.h"
#include "printer/native/ports.h"

#include <optional>

namespace setip::native {

std::unique_ptr<Port> openNetworkPort(std::string_view name, const NameResolver& resolver) {
    const Deadline deadline = deadlineAfter(connectBudget);
    const auto address = parseNetworkAddress(name);
    if (!address) throw PortFailure("\"" + std::string{name} + "\" is not a printer address (host or host:port)");

    const std::string shown = address->host + ":" + std::to_string(address->port);
    const auto hosts = isNumericHost(address->host) ? std::vector<std::string>{address->host}
                                                    : resolver.lookUp(address->host, deadline);
    // A name can stand for several addresses (localhost is 127.0.0.1 and ::1); the first that connects is used.
    std::optional<PortFailure> lastFailure;
    for (const auto& host : hosts) {
        try {
            return connectNetworkPort(host, address->port, shown, deadline);
        } catch (const PortFailure& failure) {
            lastFailure = failure;
        }
    }
    throw lastFailure.value_or(PortFailure("cannot look up " + address->host + ": no address"));
}

}  // namespace setip::native
