#include "tests/support/cups_server.h"
#include "tests/support/table.h"
#include "tests/window/frm_test_fixture.h"
#include "window/installed_printers.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace setip {
namespace {

using testing_support::CupsServer;
using testing_support::RawQueue;

// The server's own listing of its queues, one name a line, as its command-line client prints it.
std::vector<Text> lpstatNames() {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe{::popen("lpstat -e 2>/dev/null", "r"), &::pclose};
    std::vector<Text> names;
    std::string line;
    for (int c; (c = std::fgetc(pipe.get())) != EOF;) {
        if (c != '\n') {
            line += static_cast<char>(c);
            continue;
        }
        names.push_back(fromUtf8(line));
        line.clear();
    }
    return names;
}

struct QueuesRow {
    const char* name;
    std::vector<std::string> added;  // in the order lpadmin adds them
    std::vector<Text> listed;
    friend void PrintTo(const QueuesRow& row, std::ostream* out) { *out << row.name; }
};

class CupsPrinters : public ::testing::TestWithParam<QueuesRow> {};

TEST_P(CupsPrinters, AreListedAsTheServerListsThem) {
    const QueuesRow& row = GetParam();
    std::vector<RawQueue> queues;
    // Nothing is printed, so the queues' device never receives a connection.
    for (const std::string& name : row.added) queues.push_back({name, "socket://127.0.0.1:9"});
    CupsServer server{queues};
    server.useForThisProcess();

    const std::vector<Text> names = systemPrinterNames();
    EXPECT_EQ(names, row.listed) << server.errorLog();
    EXPECT_EQ(names, lpstatNames()) << "the same order as CUPS's own client";

    testing_support::LoadedForm loaded{names};
    EXPECT_EQ(loaded.form.Combo2.ListCount(), static_cast<std::int32_t>(row.listed.size()));
    EXPECT_EQ(loaded.form.Combo2.Text(), row.listed.empty() ? Text{} : row.listed.front());
}

INSTANTIATE_TEST_SUITE_P(
    SystemPrinters, CupsPrinters,
    ::testing::Values(QueuesRow{"three_queues", {"A", "B", "C"}, {u"A", u"B", u"C"}},
                      QueuesRow{"added_out_of_order", {"C", "A", "B"}, {u"A", u"B", u"C"}},
                      QueuesRow{"one_queue", {"Receipt_1"}, {u"Receipt_1"}},
                      QueuesRow{"server_without_queues", {}, {}}),
    testing_support::RowName{});

TEST(SystemPrinters, APrintServerThatIsNotRunningHasNoPrintersAndStartUpGoesOn) {
    CupsServer server{{{"A", "socket://127.0.0.1:9"}}};
    server.useForThisProcess();
    ASSERT_EQ(systemPrinterNames(), (std::vector<Text>{u"A"}));
    server.stop();

    const std::vector<Text> names = systemPrinterNames();
    EXPECT_TRUE(names.empty());
    testing_support::LoadedForm loaded{names};
    EXPECT_EQ(loaded.form.Combo2.ListIndex(), ComboBox::noSelection);
    EXPECT_EQ(loaded.form.Combo1.Text(), u"ETHERNET") << "start-up ran to its end";
}

}  // namespace
}  // namespace setip
