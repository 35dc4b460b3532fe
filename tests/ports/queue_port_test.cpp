#include "printer/native/native_library.h"
#include "printer/native/posix/unique_fd.h"
#include "printer/press.h"
#include "tests/support/cups_server.h"
#include "tests/support/table.h"

#include <cups/cups.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <atomic>
#include <optional>
#include <sstream>
#include <thread>

namespace setip {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using testing_support::CupsServer;

const Bytes defaultCommand{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

// The printer behind the raw queues: takes one connection on 127.0.0.1 and keeps everything sent on it.
class PrinterSocket {
public:
    PrinterSocket() : listener_{::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)} {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        auto* raw = reinterpret_cast<sockaddr*>(&address);
        if (::bind(listener_.get(), raw, length) != 0 || ::listen(listener_.get(), 4) != 0 ||
            ::getsockname(listener_.get(), raw, &length) != 0) {
            throw std::runtime_error("cannot listen on 127.0.0.1");
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread{[this] { serve(); }};
    }
    ~PrinterSocket() {
        stop_ = true;
        thread_.join();
    }
    PrinterSocket(const PrinterSocket&) = delete;
    PrinterSocket& operator=(const PrinterSocket&) = delete;

    std::string uri() const { return "socket://127.0.0.1:" + std::to_string(port_); }

    // What the one connection carried, once it ended or the wait ran out.
    Bytes received(std::chrono::milliseconds wait) {
        const auto deadline = std::chrono::steady_clock::now() + wait;
        while (!done_ && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(10ms);
        return done_ ? bytes_ : Bytes{};
    }

private:
    bool waitFor(int fd) const {
        while (!stop_) {
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 50) > 0) return true;
        }
        return false;
    }

    void serve() {
        if (!waitFor(listener_.get())) return;
        const native::UniqueFd connection{::accept4(listener_.get(), nullptr, nullptr, SOCK_CLOEXEC)};
        while (waitFor(connection.get())) {
            std::uint8_t buffer[256];
            const ssize_t n = ::read(connection.get(), buffer, sizeof buffer);
            if (n <= 0) break;
            bytes_.insert(bytes_.end(), buffer, buffer + n);
        }
        done_ = true;
    }

    native::UniqueFd listener_;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    Bytes bytes_;
    std::thread thread_;
};

class NoMessages final : public OperatorMessages {
public:
    int shown = 0;
    void showError(TextView, TextView) override { ++shown; }
};

struct HttpClose {
    void operator()(http_t* http) const { httpClose(http); }
};

std::unique_ptr<http_t, HttpClose> connectToTestServer() {
    return std::unique_ptr<http_t, HttpClose>{
        httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, HTTP_ENCRYPTION_IF_REQUESTED, 1, 5000, nullptr)};
}

// An administrative request on one queue, as lpadmin, cupsreject or lpoptions -d would send it.
void administer(ipp_op_t operation, const std::string& queue) {
    const auto http = connectToTestServer();
    ASSERT_NE(http, nullptr);
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.c_str());
    ipp_t* request = ippNewRequest(operation);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippDelete(cupsDoRequest(http.get(), request, "/admin/"));
    ASSERT_LE(cupsLastError(), IPP_STATUS_OK_CONFLICTING) << cupsLastErrorString();
}

int jobCount() {
    const auto http = connectToTestServer();
    cups_job_t* jobs = nullptr;
    const int count = cupsGetJobs2(http.get(), &jobs, nullptr, 0, CUPS_WHICHJOBS_ALL);
    cupsFreeJobs(count, jobs);
    return count;
}

struct QueuePress {
    const char* name;
    Text queue;
    bool stopServer;
    std::string diagnostics;  // "%s" stands for the server's socket; "" when the command is delivered
};

void PrintTo(const QueuePress& row, std::ostream* out) { *out << row.name; }

class QueuePortTest : public testing::TestWithParam<QueuePress> {};

TEST_P(QueuePortTest, DeliversOnlyThroughTheNamedQueue) {
    const auto& row = GetParam();
    PrinterSocket printer;
    CupsServer server{{{"setip-receipt", printer.uri()}, {"setip-closed", printer.uri()}}};
    server.useForThisProcess();
    administer(IPP_OP_CUPS_REJECT_JOBS, "setip-closed");
    // A default queue is there to fall back on, so a fallback would show.
    administer(IPP_OP_CUPS_SET_DEFAULT, "setip-receipt");
    if (row.stopServer) server.stop();

    native::NativeLibrary library;
    NoMessages messages;
    std::ostringstream diagnostics;
    const auto handle = pressSetIp({u"DRIVER", u"", row.queue, u"", u"192.168.123.100"}, library, messages,
                                   diagnostics);

    if (row.diagnostics.empty()) {
        EXPECT_NE(handle, failedHandle) << diagnostics.str();
        EXPECT_EQ(printer.received(20s), defaultCommand) << server.errorLog();
        EXPECT_EQ(messages.shown, 0);
        return;
    }
    std::string expected = row.diagnostics;
    if (const auto at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, server.serverName());
    EXPECT_EQ(handle, failedHandle);
    EXPECT_EQ(diagnostics.str(), expected);
    EXPECT_EQ(messages.shown, 1);
    if (!row.stopServer) {
        EXPECT_EQ(jobCount(), 0) << "a job was queued somewhere";
    }
}

INSTANTIATE_TEST_SUITE_P(Queues, QueuePortTest, testing::Values(
    QueuePress{"installed queue gets the exact command", u"setip-receipt", false, ""},
    QueuePress{"unknown queue gives minus one and never the default", u"setip-missing", false,
               "setip: there is no printer queue \"setip-missing\" on the print server %s\n"},
    QueuePress{"empty driver name gives minus one", u"", false,
               "setip: no printer queue is chosen (is a printer installed?)\n"},
    QueuePress{"queue that rejects jobs gives minus one", u"setip-closed", false,
               "setip: printer queue \"setip-closed\" is not accepting jobs (cupsaccept setip-closed lets it)\n"},
    QueuePress{"stopped print server gives minus one", u"setip-receipt", true,
               "setip: cannot reach the print server %s for printer queue \"setip-receipt\": Host is down (is "
               "cupsd running?)\n"}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
