#pragma once

#include <sys/types.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace setip::testing_support {

// Why a private print server could not be started or set up. Tests let it escape, so they fail and say why.
class CupsServerFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// One raw queue: its name and where its jobs go, e.g. "socket://127.0.0.1:9100".
struct RawQueue {
    std::string name;
    std::string deviceUri;
};

// A real cupsd of the test's own, started as root with a private configuration in a fresh temporary directory,
// listening on a free 127.0.0.1 port and on a socket in that directory. It never touches the machine's own print
// server. The destructor stops it and removes the directory.
class CupsServer {
public:
    // Starts the server and waits (bounded) until it answers, then adds `queues` in order.
    // Throws CupsServerFailure when cupsd or lpadmin is missing, when not root, or when the server won't start.
    explicit CupsServer(const std::vector<RawQueue>& queues = {});
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // Adds an enabled raw queue with lpadmin; queues appear in the order they were added.
    void addQueue(const RawQueue& queue);

    // The value for CUPS_SERVER: the path of the server's local socket.
    const std::string& serverName() const { return socketPath_; }
    std::uint16_t port() const { return port_; }
    const std::string& directory() const { return directory_; }

    // Points this process's CUPS clients at the server: sets CUPS_SERVER and makes libcups forget the server and
    // connection it cached. The destructor puts the previous CUPS_SERVER back.
    void useForThisProcess();

    // Stops the server (SIGTERM, then SIGKILL after a bounded wait). Safe to call more than once.
    void stop();
    bool running() const { return pid_ > 0; }

    // The server's error log, to show when something went wrong.
    std::string errorLog() const;

private:
    void writeConfiguration() const;
    void start();
    void waitUntilAnswering();

    std::string directory_;
    std::string socketPath_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
    bool exported_ = false;
    bool hadPreviousServer_ = false;
    std::string previousServer_;
};

}  // namespace setip::testing_support
