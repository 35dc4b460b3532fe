#include "app/cli/ports_command.h"
#include "tests/support/cups_server.h"
#include "tests/cli/offered_port.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace setip::cli {
namespace {

struct QueuesRow {
    const char* name;
    std::vector<std::string> added;  // in the order the server is given them
    std::string defaultQueue;        // made the server's default unless empty
    bool stopped;                    // the server has stopped before the queues are asked for
    std::vector<std::string> listed;
    friend void PrintTo(const QueuesRow& row, std::ostream* out) { *out << row.name; }
};

class InstalledQueues : public ::testing::TestWithParam<QueuesRow> {};

// The queues come from a real print server of the test's own, in its order; the window's driver list and `setip
// ports` both list them so.
TEST_P(InstalledQueues, AreThePrintServersQueuesInItsOrder) {
    const QueuesRow& row = GetParam();
    // Nothing is printed, so the queues' device never receives a connection.
    std::vector<std::string> queues;
    for (const std::string& name : row.added) queues.push_back(name + "=socket://127.0.0.1:9");
    testing_support::CupsServer server{queues};
    server.useForThisProcess();
    if (!row.defaultQueue.empty()) {
        ASSERT_EQ(std::system(("/usr/sbin/lpadmin -d " + row.defaultQueue).c_str()), 0);
    }
    if (row.stopped) server.stop();
    std::vector<OfferedPort> expected;
    for (const std::string& queue : row.listed) expected.push_back({"DRIVER", queue, "printer queue"});
    std::vector<OfferedPort> offered = portsOfThisMachine();
    std::erase_if(offered, [](const OfferedPort& port) { return port.entry != "DRIVER"; });
    EXPECT_EQ(offered, expected) << server.errorLog();
}

INSTANTIATE_TEST_SUITE_P(
    Ports, InstalledQueues,
    ::testing::Values(QueuesRow{"three_printers_in_order_whichever_is_default", {"C", "A", "B"}, "B", false,
                                {"A", "B", "C"}},
                      QueuesRow{"no_printer", {}, "", false, {}},
                      QueuesRow{"print_server_not_running_lists_none", {"A"}, "", true, {}}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::cli
