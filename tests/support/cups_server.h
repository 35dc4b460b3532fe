#pragma once

#include "tests/support/child_process.h"

#include <cups/cups.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace setip::testing_support {

// A real cupsd of the test's own, started by the script private-cupsd (which says how it is kept apart from the
// machine's own print server) in a fresh temporary directory. The destructor stops it and removes the directory.
class CupsServer {
public:
    // Starts the server with `queues` enabled, each as private-cupsd takes it ("NAME=DEVICE-URI[,POLICY]"), and waits
    // (bounded) until it listens; throws saying why it did not, at once when the script or cupsd ended.
    explicit CupsServer(const std::vector<std::string>& queues = {}) {
        if (::mkdtemp(directory_.data()) == nullptr) throw std::runtime_error("cannot make a directory for cupsd");
        std::vector<std::string> arguments{PRIVATE_CUPSD_PATH, directory_};
        arguments.insert(arguments.end(), queues.begin(), queues.end());
        process_.emplace(arguments);
        const std::string listening = "Listening to " + serverName();
        if (!process_->waitUntil([&](const std::string& output) { return output.find(listening) != std::string::npos; },
                                 std::chrono::seconds{15})) {
            const std::string failure = process_->ended()
                ? "private-cupsd ended before cupsd listened: " + errorLog()
                : "cupsd (package cups-daemon) did not listen within 15 s: " + errorLog();
            stop();
            std::filesystem::remove_all(directory_);
            throw std::runtime_error(failure);
        }
    }
    ~CupsServer() {
        stop();
        ::unsetenv("CUPS_SERVER");
        cupsSetServer(nullptr);
        std::filesystem::remove_all(directory_);
    }
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // The value for CUPS_SERVER: the path of the server's local socket.
    std::string serverName() const { return directory_ + "/cups.sock"; }

    // Points this process's CUPS clients at the server: sets CUPS_SERVER and makes libcups forget the server it
    // cached. The destructor unsets CUPS_SERVER.
    void useForThisProcess() {
        ::setenv("CUPS_SERVER", serverName().c_str(), 1);
        cupsSetServer(nullptr);
    }

    // Stops the server, which ends the backends still sending. Safe to call more than once.
    void stop() {
        if (process_) log_ = process_->output();
        process_.reset();
    }

    // All the server logged, to show when something went wrong.
    std::string errorLog() const { return process_ ? process_->output() : log_; }

private:
    std::string directory_ = (std::filesystem::temp_directory_path() / "setip-cups.XXXXXX").string();
    std::optional<ChildProcess> process_;
    std::string log_;
};

}  // namespace setip::testing_support
