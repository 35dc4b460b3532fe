#include "printer/native/name_resolver.h"

#include "printer/native/port.h"
#include "printer/native/win32/system_failure.h"
#include "printer/native/win32/wide_text.h"
#include "printer/native/win32/winsock.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace setip::native {
namespace {

// What a lookup thread hands back. Shared, so that a lookup abandoned at the deadline can still finish safely.
struct Lookup {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::vector<std::string> addresses;
    std::string error;
};

void run(const std::wstring& host, Lookup& lookup) {
    ADDRINFOW hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    ADDRINFOW* found = nullptr;
    const int status = ::GetAddrInfoW(host.c_str(), nullptr, &hints, &found);
    std::vector<std::string> addresses;
    for (const ADDRINFOW* entry = found; entry != nullptr; entry = entry->ai_next) {
        wchar_t numeric[NI_MAXHOST];
        if (::GetNameInfoW(entry->ai_addr, static_cast<socklen_t>(entry->ai_addrlen), numeric, NI_MAXHOST, nullptr, 0,
                           NI_NUMERICHOST) == 0) {
            addresses.push_back(utf8FromWide(numeric));
        }
    }
    if (found != nullptr) ::FreeAddrInfoW(found);

    const std::lock_guard lock{lookup.mutex};
    lookup.done = true;
    lookup.addresses = std::move(addresses);
    if (status != 0) lookup.error = systemErrorText(static_cast<unsigned long>(status));
    lookup.finished.notify_all();
}

class SystemResolver final : public NameResolver {
public:
    std::vector<std::string> lookUp(const std::string& host, Deadline deadline) const override {
        startWinsock();
        auto lookup = std::make_shared<Lookup>();
        std::thread([wide = wideFromAnsi(host), lookup] { run(wide, *lookup); }).detach();

        std::unique_lock lock{lookup->mutex};
        if (!lookup->finished.wait_until(lock, deadline, [&] { return lookup->done; })) {
            throw PortFailure("cannot look up " + host + ": no answer within the connect deadline");
        }
        if (!lookup->error.empty()) throw PortFailure("cannot look up " + host + ": " + lookup->error);
        if (lookup->addresses.empty()) throw PortFailure("cannot look up " + host + ": no address");
        return std::move(lookup->addresses);
    }
};

}  // namespace

std::shared_ptr<const NameResolver> systemResolver() { return std::make_shared<SystemResolver>(); }

}  // namespace setip::native
