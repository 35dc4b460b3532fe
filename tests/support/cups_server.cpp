#include "tests/support/cups_server.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

extern char** environ;

namespace setip::testing_support {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto startBudget = 15s;
constexpr auto stopBudget = 5s;
constexpr auto lpadminBudget = 15s;

std::string errnoText(const std::string& what, int error) { return what + ": " + std::strerror(error); }

// Finds a program the way a root shell would, also where Debian keeps daemons (off a plain user's PATH).
std::string findProgram(const std::string& name, const std::string& package) {
    std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
    path += ":/usr/sbin:/usr/local/sbin:/sbin";
    std::istringstream dirs{path};
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (dir.empty()) continue;
        const fs::path candidate = fs::path{dir} / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    throw CupsServerFailure(name + " is not installed (Debian package " + package +
                            "; scripts/install-deps installs it)");
}

std::string readFile(const fs::path& path) {
    std::ifstream in{path};
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A port nobody listens on now; cupsd takes it a moment later.
std::uint16_t freeLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) throw CupsServerFailure(errnoText("cannot open a socket to find a free port", errno));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if (::bind(fd, raw, sizeof address) != 0 || ::getsockname(fd, raw, &length) != 0) {
        const int error = errno;
        ::close(fd);
        throw CupsServerFailure(errnoText("cannot find a free 127.0.0.1 port", error));
    }
    ::close(fd);
    return ntohs(address.sin_port);
}

bool answersOn(const std::string& socketPath) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    const bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return connected;
}

// The environment of this process with CUPS_SERVER replaced, for the programs the server is driven with.
std::vector<std::string> environmentWith(const std::string& server) {
    std::vector<std::string> entries;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (std::strncmp(*entry, "CUPS_SERVER=", 12) != 0) entries.emplace_back(*entry);
    }
    entries.push_back("CUPS_SERVER=" + server);
    return entries;
}

// Starts a program with stdin from /dev/null and both outputs into `log`; its own process group when asked.
pid_t spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
            const fs::path& log, bool ownGroup) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    if (ownGroup) {
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
        posix_spawnattr_setpgroup(&attributes, 0);
    }

    std::vector<char*> argv;
    for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const auto& entry : environment) envp.push_back(const_cast<char*>(entry.c_str()));
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0) throw CupsServerFailure(errnoText("cannot start " + arguments[0], error));
    return pid;
}

// Waits for the child until the deadline; its wait status, or nothing when it is still running then.
std::optional<int> waitBounded(pid_t pid, std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) return status;
        if (done < 0 && errno != EINTR) return 0;
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(10ms);
    }
}

std::string describeStatus(int status) {
    if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
    if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
    return "status " + std::to_string(status);
}

// Runs a program to its end within the budget; throws with its output when it fails or overruns.
void runToEnd(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
              const fs::path& log, std::chrono::seconds budget) {
    const pid_t pid = spawn(arguments, environment, log, false);
    const auto status = waitBounded(pid, std::chrono::steady_clock::now() + budget);
    if (!status) {
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        throw CupsServerFailure(arguments[0] + " did not finish within " + std::to_string(budget.count()) +
                                " s: " + readFile(log));
    }
    if (!WIFEXITED(*status) || WEXITSTATUS(*status) != 0) {
        throw CupsServerFailure(arguments[0] + " failed (" + describeStatus(*status) + "): " + readFile(log));
    }
}

}  // namespace

CupsServer::CupsServer(const std::vector<RawQueue>& queues) {
    if (::geteuid() != 0) {
        throw CupsServerFailure("a private cupsd must be started as root (it drops to user lp); run the tests as root");
    }
    findProgram("cupsd", "cups-daemon");
    findProgram("lpadmin", "cups-client");

    std::string pattern = (fs::temp_directory_path() / "setip-cups.XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw CupsServerFailure(errnoText("cannot make a temporary directory for cupsd", errno));
    }
    directory_ = pattern;
    socketPath_ = directory_ + "/cups.sock";
    try {
        // The backends run as lp and must reach the spool below this directory.
        fs::permissions(directory_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                        fs::perms::others_read | fs::perms::others_exec);
        for (const char* sub : {"spool", "tmp", "cache", "state"}) fs::create_directory(fs::path{directory_} / sub);
        port_ = freeLoopbackPort();
        writeConfiguration();
        start();
        waitUntilAnswering();
        for (const auto& queue : queues) addQueue(queue);
    } catch (...) {
        stop();
        std::error_code ignored;
        fs::remove_all(directory_, ignored);
        throw;
    }
}

CupsServer::~CupsServer() {
    stop();
    if (exported_) {
        if (hadPreviousServer_) {
            ::setenv("CUPS_SERVER", previousServer_.c_str(), 1);
        } else {
            ::unsetenv("CUPS_SERVER");
        }
        cupsSetServer(nullptr);
    }
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

void CupsServer::writeConfiguration() const {
    const fs::path dir{directory_};
    std::ofstream files{dir / "cups-files.conf"};
    files << "ServerRoot " << directory_ << "\n"
          << "RequestRoot " << directory_ << "/spool\n"
          << "TempDir " << directory_ << "/tmp\n"
          << "CacheDir " << directory_ << "/cache\n"
          << "StateDir " << directory_ << "/state\n"
          << "ErrorLog " << directory_ << "/error_log\n"
          << "AccessLog " << directory_ << "/access_log\n"
          << "PageLog " << directory_ << "/page_log\n"
          << "Printcap " << directory_ << "/printcap\n"
          << "ServerBin /usr/lib/cups\n"
          << "DataDir /usr/share/cups\n"
          << "User lp\n"
          << "Group lp\n";
    std::ofstream server{dir / "cupsd.conf"};
    // Without a Location the server refuses even root's local credentials, so allow the loopback clients.
    server << "Listen 127.0.0.1:" << port_ << "\n"
           << "Listen " << socketPath_ << "\n"
           << "Browsing No\n"
           << "WebInterface No\n"
           << "LogLevel info\n"
           << "<Location />\n  Order allow,deny\n  Allow localhost\n</Location>\n";
    if (!files || !server) throw CupsServerFailure("cannot write the cupsd configuration in " + directory_);
}

void CupsServer::start() {
    const std::string cupsd = findProgram("cupsd", "cups-daemon");
    const std::string serverConf = directory_ + "/cupsd.conf";
    const std::string filesConf = directory_ + "/cups-files.conf";
    const auto environment = environmentWith(socketPath_);
    runToEnd({cupsd, "-t", "-c", serverConf, "-s", filesConf}, environment, directory_ + "/cupsd-check.log",
             lpadminBudget);
    pid_ = spawn({cupsd, "-f", "-c", serverConf, "-s", filesConf}, environment, directory_ + "/cupsd.log", true);
}

void CupsServer::waitUntilAnswering() {
    const auto deadline = std::chrono::steady_clock::now() + startBudget;
    while (!answersOn(socketPath_)) {
        if (const auto status = waitBounded(pid_, std::chrono::steady_clock::now())) {
            pid_ = -1;
            throw CupsServerFailure("cupsd stopped at start-up (" + describeStatus(*status) +
                                    "): " + readFile(directory_ + "/cupsd.log") + errorLog());
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw CupsServerFailure("cupsd did not answer on " + socketPath_ + " within " +
                                    std::to_string(startBudget.count()) + " s: " + errorLog());
        }
        std::this_thread::sleep_for(20ms);
    }
}

void CupsServer::addQueue(const RawQueue& queue) {
    runToEnd({findProgram("lpadmin", "cups-client"), "-p", queue.name, "-E", "-v", queue.deviceUri, "-m", "raw"},
             environmentWith(socketPath_), directory_ + "/lpadmin.log", lpadminBudget);
}

void CupsServer::useForThisProcess() {
    if (!exported_) {
        const char* previous = std::getenv("CUPS_SERVER");
        hadPreviousServer_ = previous != nullptr;
        previousServer_ = previous ? previous : "";
        exported_ = true;
    }
    ::setenv("CUPS_SERVER", socketPath_.c_str(), 1);
    cupsSetServer(nullptr);
}

void CupsServer::stop() {
    if (pid_ <= 0) return;
    // The whole group, so that a backend still sending a job goes too.
    ::kill(-pid_, SIGTERM);
    if (!waitBounded(pid_, std::chrono::steady_clock::now() + stopBudget)) {
        ::kill(-pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

std::string CupsServer::errorLog() const { return readFile(fs::path{directory_} / "error_log"); }

}  // namespace setip::testing_support
