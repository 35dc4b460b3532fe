#include "app/cli/command_line.h"
#include "tests/native/loopback_peer.h"
#include "tests/support/recording_library.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace setip::cli {
namespace {

using namespace std::chrono_literals;
using testing_support::LoopbackPrinter;

struct SetRun {
    std::ostringstream out, err;
    Console console{out, err};
    int exitCode = -1;

    SetRun(const std::vector<std::string>& arguments, const System& system)
        : exitCode(runCommandLine(arguments, console, system)) {}
    nlohmann::json json() const { return nlohmann::json::parse(out.str()); }
};

struct SetRow {
    const char* name;
    std::vector<std::string> arguments;  // after "set --json"; {taken} and {free} stand for addresses where a device
                                         // answers and where none does, {port} for the port of {taken}
    std::string failsAt;                 // the library call that fails, as the recording library names it
    int exitCode;
    std::string outcome;  // the JSON's; none for a usage error, which prints no document
    bool pressed;         // whether the library was asked to open a port
    friend void PrintTo(const SetRow& row, std::ostream* out) {
        *out << row.name << ": set --json " << ::testing::PrintToString(row.arguments) << ", the library fails at "
             << (row.failsAt.empty() ? "nothing" : row.failsAt);
    }
};

class SetCommand : public ::testing::TestWithParam<SetRow> {};

// How set ends, for scripts: its exit code and the outcome its JSON names agree, and an address that another device
// answers at is refused before anything is sent.
TEST_P(SetCommand, EndsWithTheExitCodeOfWhatHappened) {
    const SetRow& row = GetParam();
    const LoopbackPrinter taken;
    const std::string port = taken.address().substr(taken.address().find(':') + 1);
    std::vector<std::string> arguments{"set", "--json"};
    for (std::string argument : row.arguments) {
        if (argument == "{taken}") argument = taken.address();
        if (argument == "{free}") argument = testing_support::refusingAddress();
        if (const auto at = argument.find("{port}"); at != std::string::npos) argument.replace(at, 6, port);
        arguments.push_back(argument);
    }
    std::vector<std::string> calls;
    System system{[&](std::ostream&) -> std::unique_ptr<PrinterLibrary> {
                      auto library = std::make_unique<testing_support::RecordingLibrary>();
                      library->failsAt = row.failsAt;
                      library->onCall = [&](const std::string& call) { calls.push_back(call); };
                      return library;
                  },
                  builtin::systemResolver(), {}, {}};

    const SetRun run{arguments, system};
    EXPECT_EQ(run.exitCode, row.exitCode) << run.err.str();
    EXPECT_EQ(!calls.empty(), row.pressed) << ::testing::PrintToString(calls);
    if (row.outcome.empty()) {
        EXPECT_EQ(run.out.str(), "");
        return;
    }
    const auto document = run.json();
    EXPECT_EQ(document["outcome"], row.outcome) << run.out.str();
    EXPECT_EQ(document["exit_code"], row.exitCode) << run.out.str();
}

INSTANTIATE_TEST_SUITE_P(
    Set, SetCommand,
    ::testing::Values(
        SetRow{"sent_is_0", {"--port", "COM1", "--to", "10.0.0.7"}, "", 0, "sent", true},
        SetRow{"malformed_new_address_is_65_and_opens_no_port", {"--port", "COM1", "--to", "10.0.0.256"}, "", 65,
               "address_refused", false},
        SetRow{"port_that_does_not_open_is_69", {"--port", "COM1", "--to", "10.0.0.7"}, "open", 69, "port_refused",
               true},
        SetRow{"command_not_sent_whole_is_74", {"--port", "COM1", "--to", "10.0.0.7"}, "write", 74, "send_failed",
               true},
        SetRow{"printer_not_back_in_time_is_75",
               {"--port", "COM1", "--to", "10.0.0.7", "--confirm", "0.3", "--confirm-at", "{free}"}, "", 75,
               "not_back", true},
        SetRow{"another_device_at_the_new_address_is_65_and_nothing_is_sent",
               {"--port", "COM1", "--to", "10.0.0.7", "--confirm", "5", "--confirm-at", "{taken}"}, "", 65,
               "address_taken", false},
        SetRow{"network_port_is_confirmed_at_the_new_address_on_its_present_port",
               {"--port", "ETHERNET", "--at", "127.0.0.3:{port}", "--to", "127.0.0.1", "--confirm", "5"}, "", 65,
               "address_taken", false},
        SetRow{"force_sends_all_the_same_and_the_device_there_answers",
               {"--port", "COM1", "--to", "10.0.0.7", "--confirm", "5", "--confirm-at", "{taken}", "--force"}, "",
               0, "sent", true},
        SetRow{"usage_error_is_64_and_prints_no_document", {"--port", "ETHERNET", "--to", "10.0.0.7"}, "", 64, "",
               false}),
    testing_support::RowName{});

// A printer that restarts its network after the command refuses connections for a while; --confirm waits it out,
// and the time it reports is never shorter than the printer took.
TEST(SetConfirm, WaitsForAPrinterThatRestartsItsNetwork) {
    constexpr auto restart = 1s;
    LoopbackPrinter printer{LoopbackPrinter::Options{.restartAfter = restart}};
    const std::string moved = "127.0.0.62" + printer.address().substr(printer.address().find(':'));
    const SetRun run{{"set", "--port", "ETHERNET", "--at", printer.address(), "--to", "127.0.0.62", "--confirm", "10",
                      "--json"},
                     systemOfThisMachine()};
    ASSERT_EQ(run.exitCode, 0) << run.err.str() << printer.output();
    const auto confirm = run.json()["confirm"];
    EXPECT_EQ(confirm["address"], moved);
    EXPECT_EQ(confirm["answered"], true);
    EXPECT_GE(confirm["seconds"].get<double>(), std::chrono::duration<double>{restart}.count()) << run.out.str();
    EXPECT_TRUE(printer.reported("listening on " + moved)) << printer.output();
}

}  // namespace
}  // namespace setip::cli
