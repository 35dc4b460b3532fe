#include "printer/native/native_library.h"
#include "printer/press.h"
#include "tests/native/loopback_peer.h"
#include "tests/support/cups_server.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <sstream>

namespace setip {
namespace {

using namespace std::chrono_literals;
using testing_support::Bytes;
using testing_support::CupsServer;

const Text newAddress = u"192.168.123.100";  // the new address defaultCommand carries
const Bytes defaultCommand{0x1F, 0x1B, 0x1F, 0x91, 0x00, 0x49, 0x50, 0xC0, 0xA8, 0x7B, 0x64};

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
    testing_support::LoopbackPrinter printer;
    const std::string uri = "socket://" + printer.address();
    CupsServer server{{{"setip-receipt", uri}, {"setip-closed", uri}}};
    server.useForThisProcess();
    administer(IPP_OP_CUPS_REJECT_JOBS, "setip-closed");
    // A default queue is there to fall back on, so a fallback would show.
    administer(IPP_OP_CUPS_SET_DEFAULT, "setip-receipt");
    if (row.stopServer) server.stop();

    native::NativeLibrary library;
    testing_support::RecordingMessages messages;
    std::ostringstream diagnostics;
    const auto descriptors = testing_support::openDescriptorCount();
    const auto handle = pressSetIp({u"DRIVER", u"", row.queue, u"", newAddress}, library, messages,
                                   diagnostics);

    if (row.diagnostics.empty()) {
        EXPECT_NE(handle, failedHandle) << diagnostics.str();
        EXPECT_EQ(printer.connections(1, 20s), std::vector<Bytes>{defaultCommand}) << server.errorLog();
        EXPECT_TRUE(messages.shown.empty());
        return;
    }
    std::string expected = row.diagnostics;
    if (const auto at = expected.find("%s"); at != std::string::npos) expected.replace(at, 2, server.serverName());
    EXPECT_EQ(handle, failedHandle);
    EXPECT_EQ(diagnostics.str(), expected);
    EXPECT_EQ(testing_support::openDescriptorCount(), descriptors) << "the failed open left a descriptor open";
    EXPECT_EQ(messages.shown.size(), 1u);
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

// A print server at a TCP address that never takes the connection, as one on a dead host: the open gives up at the
// connect deadline.
TEST(SilentPrintServerTest, GivesMinusOneWithinTheConnectDeadline) {
    const testing_support::FullBacklog silent;
    ::setenv("CUPS_SERVER", silent.address().c_str(), 1);
    cupsSetServer(nullptr);
    native::NativeLibrary library;

    const auto started = std::chrono::steady_clock::now();
    const auto handle = library.POS_Open("setip-receipt", 0, 0, 0, 0, 20);
    const auto took = std::chrono::steady_clock::now() - started;
    ::unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);

    EXPECT_EQ(handle, failedHandle);
    EXPECT_LT(took, 4s);
    EXPECT_EQ(library.failureReason(), "cannot reach the print server " + silent.address() +
                                           " for printer queue \"setip-receipt\": Connection timed out (is cupsd "
                                           "running?)");
}

}  // namespace
}  // namespace setip
