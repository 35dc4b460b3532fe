#include "tests/support/cups_server.h"
#include "tests/support/table.h"
#include "tests/window/loaded_form.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace setip {
namespace {

using testing_support::itemsOf;
using testing_support::LoadedForm;

struct PrintersRow {
    const char* name;
    std::vector<std::string> added;  // in the order the server is given them
    std::string defaultQueue;        // made the server's default unless empty
    bool stopped;                    // the server has stopped before start-up asks it
    std::vector<Text> listed;
    friend void PrintTo(const PrintersRow& row, std::ostream* out) { *out << row.name; }
};

class DriverList : public ::testing::TestWithParam<PrintersRow> {};

// The printers come from a real print server of the test's own, and the list shows them in its order.
TEST_P(DriverList, HoldsThePrintServersQueuesInItsOrderAndShowsTheFirst) {
    const PrintersRow& row = GetParam();
    // Nothing is printed, so the queues' device never receives a connection.
    std::vector<testing_support::RawQueue> queues;
    for (const std::string& name : row.added) queues.push_back({name, "socket://127.0.0.1:9"});
    testing_support::CupsServer server{queues};
    server.useForThisProcess();
    if (!row.defaultQueue.empty()) {
        ASSERT_EQ(std::system(("lpadmin -d " + row.defaultQueue).c_str()), 0);
    }
    if (row.stopped) server.stop();
    LoadedForm loaded{systemPrinterNames()};
    EXPECT_EQ(itemsOf(loaded.form.Combo2), row.listed) << server.errorLog();
    EXPECT_EQ(loaded.form.Combo2.ListIndex(), row.listed.empty() ? ComboBox::noSelection : 0);
    EXPECT_EQ(loaded.form.Combo2.Text(), row.listed.empty() ? Text{} : row.listed.front());
}

INSTANTIATE_TEST_SUITE_P(
    FormLoad, DriverList,
    ::testing::Values(PrintersRow{"three_printers_in_order_whichever_is_default", {"C", "A", "B"}, "B", false,
                                  {u"A", u"B", u"C"}},
                      PrintersRow{"one_printer", {"Receipt_1"}, "", false, {u"Receipt_1"}},
                      PrintersRow{"no_printer_leaves_the_list_empty_and_unselected", {}, "", false, {}},
                      PrintersRow{"print_server_not_running_lists_none", {"A"}, "", true, {}}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip
