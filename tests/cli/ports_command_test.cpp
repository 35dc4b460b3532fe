#include "app/cli/posix/machine_ports.h"
#include "tests/cli/offered_port.h"
#include "tests/support/table.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace setip::cli {
namespace {

namespace fs = std::filesystem;

struct Listing {
    const char* name;
    std::vector<OfferedPort> offered;
    bool json;
    std::string out;
    friend void PrintTo(const Listing& row, std::ostream* out) {
        *out << row.name << (row.json ? " --json: " : ": ") << ::testing::PrintToString(row.offered);
    }
};

class PortsCommand : public ::testing::TestWithParam<Listing> {};

// What the machine offers, as a table for people and one JSON document for scripts; each says where the port
// goes in `set`.
TEST_P(PortsCommand, ListsWhatTheMachineOffers) {
    const Listing& row = GetParam();
    std::ostringstream out, err;
    Console console{out, err};
    System system;
    system.offeredPorts = [&] { return row.offered; };
    std::vector<std::string> arguments{"ports"};
    if (row.json) arguments.push_back("--json");
    EXPECT_EQ(runCommandLine(arguments, console, system), 0) << err.str();
    EXPECT_EQ(row.json ? nlohmann::ordered_json::parse(out.str()).dump() : out.str(), row.out);
    // Having nothing to offer is said, so that an empty answer is not taken for a failure.
    EXPECT_EQ(err.str().find("offers no") != std::string::npos, row.offered.empty()) << err.str();
}

const std::vector<OfferedPort> mixed{{"COM1", "", "serial line /dev/ttyS0"},
                                     {"COM:/dev/ttyUSB0", "", "USB serial adapter /dev/ttyUSB0"},
                                     {"DRIVER", "Kasse-Ω", "printer queue"}};

INSTANTIATE_TEST_SUITE_P(
    Ports, PortsCommand,
    ::testing::Values(
        Listing{"table_columns_line_up_by_characters_and_a_dash_stands_for_no_queue", mixed, false,
                "PORT              QUEUE    DESCRIPTION\n"
                "COM1              -        serial line /dev/ttyS0\n"
                "COM:/dev/ttyUSB0  -        USB serial adapter /dev/ttyUSB0\n"
                "DRIVER            Kasse-Ω  printer queue\n"},
        Listing{"json_names_every_field_and_gives_no_queue_as_null", mixed, true,
                R"({"command":"ports","ports":[{"port":"COM1","queue":null,"kind":"serial","description":"serial )"
                R"(line /dev/ttyS0"},{"port":"COM:/dev/ttyUSB0","queue":null,"kind":"serial","description":"USB )"
                R"(serial adapter /dev/ttyUSB0"},{"port":"DRIVER","queue":"Kasse-Ω","kind":"driver","description":)"
                R"("printer queue"}]})"},
        Listing{"nothing_offered_prints_no_table", {}, false, ""},
        Listing{"nothing_offered_is_an_empty_list_in_json", {}, true,
                R"({"command":"ports","ports":[]})"}),
    testing_support::RowName{});

struct Root {
    const char* name;
    std::vector<std::string> devices;                          // FIFOs standing in for device nodes
    std::vector<std::pair<std::string, std::string>> files;  // regular files and what they hold
    std::vector<OfferedPort> offered;
    friend void PrintTo(const Root& row, std::ostream* out) {
        *out << row.name << ": devices " << ::testing::PrintToString(row.devices) << ", files "
             << ::testing::PrintToString(row.files);
    }
};

class MachinePorts : public ::testing::TestWithParam<Root> {};

// The serial lines and printer devices of a system laid out in a folder of the test's own. A FIFO would hold up a
// program that opened it, so a listing that opened a device would never end.
TEST_P(MachinePorts, AreTheDeviceNodesInTheFormSetTakes) {
    const Root& row = GetParam();
    const fs::path root = fs::temp_directory_path() / ("setip-root-" + std::to_string(::getpid()));
    fs::create_directories(root);
    for (const std::string& device : row.devices) {
        fs::create_directories((root / device).parent_path());
        ASSERT_EQ(::mkfifo((root / device).c_str(), 0600), 0) << device;
    }
    for (const auto& [file, holds] : row.files) {
        fs::create_directories((root / file).parent_path());
        std::ofstream{root / file} << holds;
    }
    EXPECT_EQ(devicePortsUnder(root), row.offered);
    fs::remove_all(root);
}

std::pair<std::string, std::string> ttyType(const std::string& line, const std::string& type) {
    return {"sys/class/tty/" + line + "/type", type + "\n"};
}

INSTANTIATE_TEST_SUITE_P(
    Ports, MachinePorts,
    ::testing::Values(
        Root{"ttyS_lines_with_a_port_behind_them_as_COMn_in_numeric_order",
             {"dev/ttyS0", "dev/ttyS1", "dev/ttyS10", "dev/ttyS2", "dev/ttyS3"},
             {ttyType("ttyS0", "4"), ttyType("ttyS1", "0"), ttyType("ttyS10", "4"), ttyType("ttyS2", "4")},
             {{"COM1", "", "serial line /dev/ttyS0"},
              {"COM3", "", "serial line /dev/ttyS2"},
              {"COM11", "", "serial line /dev/ttyS10"}}},
        Root{"usb_serial_lines_by_path",
             {"dev/ttyUSB1", "dev/ttyACM0", "dev/ttyUSB0"},
             {},
             {{"COM:/dev/ttyACM0", "", "USB serial device /dev/ttyACM0"},
              {"COM:/dev/ttyUSB0", "", "USB serial adapter /dev/ttyUSB0"},
              {"COM:/dev/ttyUSB1", "", "USB serial adapter /dev/ttyUSB1"}}},
        Root{"parallel_ports_as_LPTn_and_usb_printers_by_path",
             {"dev/usb/lp0", "dev/lp0", "dev/lp1"},
             {},
             {{"LPT1", "", "parallel port /dev/lp0"},
              {"LPT2", "", "parallel port /dev/lp1"},
              {"LPT:/dev/usb/lp0", "", "USB printer /dev/usb/lp0"}}},
        Root{"files_and_names_of_no_device_left_out",
             {"dev/lp01", "dev/lpx", "dev/ttyUSB", "dev/tty0", "dev/usb/hiddev0"},
             {{"dev/lp0", ""}, {"dev/ttyUSB0", ""}},
             {}},
        Root{"no_dev_folder_offers_nothing", {}, {}, {}}),
    testing_support::RowName{});

}  // namespace
}  // namespace setip::cli
