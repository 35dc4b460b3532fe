#include "tests/support/cups_server.h"
#include "tests/support/table.h"
#include "window/installed_printers.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace setip {
namespace {

struct PrintersRow {
    const char* name;
    std::vector<std::string> added;  // in the order the server is given them
    std::string defaultQueue;        // made the server's default unless empty
    bool stopped;                    // the server has stopped before start-up asks it
    std::vector<Text> listed;
    friend void PrintTo(const PrintersRow& row, std::ostream* out) {
        *out << row.name << ": queues";
        for (const auto& queue : row.added) *out << ' ' << queue;
        *out << (row.stopped ? ", server stopped" : "");
    }
};

class DriverList : public ::testing::TestWithParam<PrintersRow> {};

// The printers come from a real print server of the test's own, in its order; the window lists them as given.
TEST_P(DriverList, HoldsThePrintServersQueuesInItsOrder) {
    const PrintersRow& row = GetParam();
    // Nothing is printed, so the queues' device never receives a connection.
    std::vector<std::string> queues;
    for (const std::string& name : row.added) queues.push_back(name + "=socket://127.0.0.1:9");
    testing_support::CupsServer server{queues};
    server.useForThisProcess();
    if (!row.defaultQueue.empty()) {
        ASSERT_EQ(std::system(("lpadmin -d " + row.defaultQueue).c_str()), 0);
    }
    if (row.stopped) server.stop();
    EXPECT_EQ(systemPrinterNames(), row.listed) << server.errorLog();
}

INSTANTIATE_TEST_SUITE_P(
    FormLoad, DriverList,
    ::testing::Values(PrintersRow{"three_printers_in_order_whichever_is_default", {"C", "A", "B"}, "B", false,
                                  {u"A", u"B", u"C"}},
                      PrintersRow{"no_printer", {}, "", false, {}},
                      PrintersRow{"print_server_not_running_lists_none", {"A"}, "", true, {}}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
