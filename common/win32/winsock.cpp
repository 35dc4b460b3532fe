#include "common/win32/winsock.h"

namespace setip {
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

int startWinsock() {
    static const WinsockSession session;
    return session.status();
}

}  // namespace setip
