#include "printer/native/win32/winsock.h"

#include "printer/native/win32/system_failure.h"

namespace setip::native {
namespace {

class WinsockSession {
public:
    WinsockSession() {
        WSADATA data{};
        status_ = ::WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~WinsockSession() {
        if (status_ == 0) ::WSACleanup();
    }
    WinsockSession(const WinsockSession&) = delete;
    WinsockSession& operator=(const WinsockSession&) = delete;

    int status() const { return status_; }

private:
    int status_ = 0;
};

}  // namespace

void startWinsock() {
    static const WinsockSession session;
    if (session.status() != 0) throw systemFailure("start", "Winsock", static_cast<unsigned long>(session.status()));
}

}  // namespace setip::native
