#include "printer/builtin/resolver.h"

#include "printer/printer_library.h"

#include <condition_variable>
#include <optional>
#include <mutex>
#include <thread>

namespace setip::builtin {
namespace {

// What a lookup thread hands back. Shared, so that a lookup abandoned at the deadline can still finish safely.
struct PendingLookup {
    std::mutex mutex;
    std::condition_variable finished;
    std::optional<NameLookup> result;
};

// The system's resolver cannot be cancelled, so each lookup runs on a thread of its own that is left to finish
// alone once the deadline has passed.
class SystemResolver final : public NameResolver {
public:
    std::vector<std::string> lookUp(const std::string& host, Deadline deadline) const override {
        auto pending = std::make_shared<PendingLookup>();
        std::thread([host, pending] {
            NameLookup result = lookUpWithoutDeadline(host);
            const std::lock_guard lock{pending->mutex};
            pending->result = std::move(result);
            pending->finished.notify_all();
        }).detach();

        std::unique_lock lock{pending->mutex};
        if (!pending->finished.wait_until(lock, deadline, [&] { return pending->result.has_value(); })) {
            throw PrinterFailure("cannot look up " + host + ": no answer within the connect deadline");
        }
        if (!pending->result->error.empty()) throw PrinterFailure("cannot look up " + host + ": " + pending->result->error);
        if (pending->result->addresses.empty()) throw PrinterFailure("cannot look up " + host + ": no address");
        return std::move(pending->result->addresses);
    }
};

}  // namespace

std::shared_ptr<const NameResolver> systemResolver() { return std::make_shared<SystemResolver>(); }

}  // namespace setip::builtin
