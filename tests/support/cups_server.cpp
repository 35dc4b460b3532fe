#include "tests/support/cups_server.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace setip::testing_support {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Whether the child has ended (and is reaped) by the deadline.
bool endedBy(pid_t pid, Clock::time_point deadline) {
    for (; ::waitpid(pid, nullptr, WNOHANG) == 0; std::this_thread::sleep_for(10ms)) {
        if (Clock::now() >= deadline) return false;
    }
    return true;
}

bool answers(const std::string& socketPath) {
    http_t* http = httpConnect2(socketPath.c_str(), 631, nullptr, AF_UNSPEC, HTTP_ENCRYPTION_NEVER, 1, 1000, nullptr);
    httpClose(http);
    return http != nullptr;
}

}  // namespace

CupsServer::CupsServer(const std::vector<RawQueue>& queues) {
    const std::string cupsd = "/usr/sbin/cupsd";
    if (::geteuid() != 0) throw std::runtime_error("a private cupsd must be started as root (it drops to user lp)");
    directory_ = (fs::temp_directory_path() / "setip-cups.XXXXXX").string();
    if (::mkdtemp(directory_.data()) == nullptr) throw std::runtime_error("cannot make a directory for cupsd");
    socketPath_ = directory_ + "/cups.sock";
    // The backends run as lp and must reach the spool below this directory.
    fs::permissions(directory_, fs::perms::group_exec | fs::perms::others_exec, fs::perm_options::add);
    for (const char* sub : {"spool", "tmp", "cache", "state"}) fs::create_directory(fs::path{directory_} / sub);
    // Every path is in this directory, so nothing of the machine's own server is read or written; the programs,
    // data and the user lp are the package's defaults.
    const std::string files = directory_ + "/cups-files.conf";
    std::ofstream{files} << "ServerRoot " << directory_ << "\nRequestRoot " << directory_ << "/spool\nTempDir "
                         << directory_ << "/tmp\nCacheDir " << directory_ << "/cache\nStateDir " << directory_
                         << "/state\nPrintcap " << directory_ << "/printcap\nErrorLog stderr\nAccessLog stderr\n"
                         << "PageLog stderr\n";
    // Without a Location the server refuses even root's local credentials.
    const std::string server = directory_ + "/cupsd.conf";
    const std::string allowAll = "<Limit All>\n  Order deny,allow\n</Limit>\n";
    std::ofstream{server} << "Listen " << socketPath_ << "\nBrowsing No\nWebInterface No\nLogLevel info\n"
                          << "<Location />\n  Order allow,deny\n  Allow localhost\n</Location>\n"
                          << "<Policy default>\n" << allowAll << "</Policy>\n<Policy unfinishable>\n"
                          << "<Limit Send-Document>\n  AuthType Default\n  Require user setip-nobody\n</Limit>\n"
                          << allowAll << "</Policy>\n";
    // Enabled raw queues, as lpadmin -E -m raw leaves them.
    std::string printers;
    for (const auto& queue : queues) {
        printers += "<Printer " + queue.name + ">\nDeviceURI " + queue.deviceUri +
                    "\nOpPolicy " + queue.policy +
                    "\nState Idle\nAccepting Yes\n</Printer>\n";
    }
    std::ofstream{directory_ + "/printers.conf"} << printers;

    // In its own process group, so that stop() also ends a backend still sending a job. Between fork and exec the
    // child only makes calls that are safe in the copy of a threaded process.
    const std::string log = directory_ + "/cupsd.log";
    pid_ = ::fork();
    if (pid_ == 0) {
        ::setpgid(0, 0);
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execl(cupsd.c_str(), cupsd.c_str(), "-f", "-c", server.c_str(), "-s", files.c_str(), nullptr);
        ::_exit(127);
    }
    for (const auto deadline = Clock::now() + 15s; pid_ < 0 || !answers(socketPath_);) {
        if (pid_ < 0 || Clock::now() >= deadline || endedBy(pid_, Clock::now() + 20ms)) {
            const std::string failure = cupsd + " (package cups-daemon) did not start within 15 s: " + errorLog();
            stop();
            fs::remove_all(directory_);
            throw std::runtime_error(failure);
        }
    }
}

CupsServer::~CupsServer() {
    stop();
    ::unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

void CupsServer::useForThisProcess() {
    ::setenv("CUPS_SERVER", socketPath_.c_str(), 1);
    cupsSetServer(nullptr);
}

void CupsServer::stop() {
    if (pid_ <= 0) return;
    ::kill(-pid_, SIGTERM);
    if (!endedBy(pid_, Clock::now() + 5s)) {
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

std::string CupsServer::errorLog() const {
    std::ostringstream text;
    text << std::ifstream{directory_ + "/cupsd.log"}.rdbuf();
    return text.str();
}

}  // namespace setip::testing_support
