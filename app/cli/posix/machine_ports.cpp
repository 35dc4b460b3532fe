#include "app/cli/posix/machine_ports.h"

#include "app/cli/ports_command.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <tuple>

namespace setip::cli {
namespace {

namespace fs = std::filesystem;

// How one family of device nodes is offered: the nodes `folder` + `stem` + N, each as `numbered` followed by N+1 (the
// library's COMn and LPTn count from 1), or as `byPath` followed by the node's path.
struct Family {
    std::string_view folder;
    std::string_view stem;
    std::string_view numbered;  // empty when the family has no numbered form
    std::string_view byPath;
    std::string_view description;
    bool needsPortBehind;  // the ttyS nodes: one for each slot the driver has, most with no port behind them
};

constexpr Family families[] = {
    {"/dev/", "ttyS", "COM", "COM:", "serial line", true},
    {"/dev/", "ttyACM", "", "COM:", "USB serial device", false},
    {"/dev/", "ttyUSB", "", "COM:", "USB serial adapter", false},
    {"/dev/", "lp", "LPT", "LPT:", "parallel port", false},
    {"/dev/usb/", "lp", "", "LPT:", "USB printer", false},
};

// N of "stemN": digits alone, with no leading zero.
std::optional<unsigned> numberAfter(std::string_view name, std::string_view stem) {
    if (!name.starts_with(stem)) return std::nullopt;
    const std::string_view digits = name.substr(stem.size());
    if (digits.empty() || (digits.size() > 1 && digits.front() == '0')) return std::nullopt;
    unsigned number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error != std::errc{} || end != digits.data() + digits.size()) return std::nullopt;
    return number;
}

// What the library opens as a device: a character device, or a FIFO standing in for one. Links are followed.
bool isDevice(const fs::path& node) {
    std::error_code error;
    const fs::file_status status = fs::status(node, error);
    return !error && (fs::is_character_file(status) || fs::is_fifo(status));
}

// The serial driver makes a ttyS node for each slot it has, and gives the slots with no port behind them the type
// 0; reading /sys tells the two apart without opening the line.
bool hasPortBehind(const fs::path& root, const std::string& name) {
    std::ifstream type{root / "sys/class/tty" / name / "type"};
    int value = 0;
    return static_cast<bool>(type >> value) && value != 0;
}

}  // namespace

std::vector<OfferedPort> devicePortsUnder(const fs::path& root) {
    struct Found {
        std::size_t family;
        unsigned number;
        OfferedPort port;
    };
    std::vector<Found> found;
    for (std::size_t index = 0; index < std::size(families); ++index) {
        const Family& family = families[index];
        std::error_code error;
        for (const fs::directory_entry& entry : fs::directory_iterator(root / family.folder.substr(1), error)) {
            const std::string name = entry.path().filename().string();
            const auto number = numberAfter(name, family.stem);
            if (!number || !isDevice(entry.path())) continue;
            if (family.needsPortBehind && !hasPortBehind(root, name)) continue;
            const std::string path = std::string{family.folder} + name;
            // COMn and LPTn take four digits at most.
            const bool numbered = !family.numbered.empty() && *number < 9999;
            found.push_back({index, *number,
                             {numbered ? std::string{family.numbered} + std::to_string(*number + 1)
                                       : std::string{family.byPath} + path,
                              "", std::string{family.description} + " " + path}});
        }
    }
    std::ranges::sort(found, {}, [](const Found& each) { return std::tie(each.family, each.number); });
    std::vector<OfferedPort> ports;
    for (Found& each : found) ports.push_back(std::move(each.port));
    return ports;
}

std::vector<OfferedPort> portsOfThisMachine() {
    std::vector<OfferedPort> ports = devicePortsUnder("/");
    std::ranges::move(installedQueuePorts(), std::back_inserter(ports));
    return ports;
}

}  // namespace setip::cli
