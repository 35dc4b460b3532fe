#include "tests/support/cups_server.h"

#include <cups/cups.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace setip::testing_support {

CupsServer::CupsServer(const std::vector<RawQueue>& queues)
    : directory_((std::filesystem::temp_directory_path() / "setip-cups.XXXXXX").string()) {
    if (::mkdtemp(directory_.data()) == nullptr) throw std::runtime_error("cannot make a directory for cupsd");
    socketPath_ = directory_ + "/cups.sock";
    std::vector<std::string> arguments{PRIVATE_CUPSD_PATH, directory_};
    for (const auto& queue : queues) arguments.push_back(queue.name + "=" + queue.deviceUri + "," + queue.policy);
    process_.emplace(arguments);
    if (!process_->waitForLine("Listening to " + socketPath_, deadlineAfter(std::chrono::seconds{15}))) {
        const std::string failure = "cupsd (package cups-daemon) did not start within 15 s: " + errorLog();
        stop();
        std::filesystem::remove_all(directory_);
        throw std::runtime_error(failure);
    }
}

CupsServer::~CupsServer() {
    stop();
    ::unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(directory_, ignored);
}

void CupsServer::useForThisProcess() {
    ::setenv("CUPS_SERVER", socketPath_.c_str(), 1);
    cupsSetServer(nullptr);
}

void CupsServer::stop() {
    if (!process_) return;
    log_ = process_->output();
    process_.reset();  // cupsd ends the backends still sending when it is told to stop
}

}  // namespace setip::testing_support
