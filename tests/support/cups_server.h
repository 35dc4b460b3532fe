#pragma once

#include "tests/support/child_process.h"

#include <optional>
#include <string>
#include <vector>

namespace setip::testing_support {

// One raw queue: its name and where its jobs go, e.g. "socket://127.0.0.1:9100". A queue under the policy
// "unfinishable" takes a job but refuses its document to any user but one who does not exist, so the job can
// never be finished.
struct RawQueue {
    std::string name;
    std::string deviceUri;
    std::string policy = "default";
};

// A real cupsd of the test's own, started by the script private-cupsd in a fresh temporary directory. The destructor
// stops it and removes the directory.
class CupsServer {
public:
    // Starts the server with `queues` enabled and waits (bounded) until it answers. Throws std::runtime_error
    // saying why when not root, when cupsd is not installed, or when the server does not start.
    explicit CupsServer(const std::vector<RawQueue>& queues = {});
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // The value for CUPS_SERVER: the path of the server's local socket.
    const std::string& serverName() const { return socketPath_; }

    // Points this process's CUPS clients at the server: sets CUPS_SERVER and makes libcups forget the server it
    // cached. The destructor unsets CUPS_SERVER.
    void useForThisProcess();

    // Stops the server. Safe to call more than once.
    void stop();

    // All the server logged, to show when something went wrong.
    std::string errorLog() const { return process_ ? process_->output() : log_; }

private:
    std::string directory_;
    std::string socketPath_;
    std::optional<ChildProcess> process_;
    std::string log_;
};

}  // namespace setip::testing_support
