#include "app/cli/ports_command.h"

#include "common/unique_resource.h"
#include "common/win32/wide_text.h"

#include <windows.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>

namespace setip::cli {
namespace {

using RegistryKey = UniqueResource<PointerHandleTraits<HKEY, ::RegCloseKey>>;

struct Found {
    int kind;         // serial lines first, then printer ports
    unsigned number;  // n of COMn or LPTn; names of no number after them
    OfferedPort port;
};

// n of a name such as "COM3" or "lpt1", whatever its case, as the library's COMn and LPTn take it.
std::optional<unsigned> numberAfter(std::wstring_view name, std::wstring_view prefix) {
    if (name.size() <= prefix.size() || name.size() > prefix.size() + 4) return std::nullopt;
    for (std::size_t at = 0; at < prefix.size(); ++at) {
        if (std::towupper(name[at]) != prefix[at]) return std::nullopt;
    }
    const std::wstring_view digits = name.substr(prefix.size());
    if (digits.front() == L'0') return std::nullopt;
    unsigned number = 0;
    for (const wchar_t digit : digits) {
        if (digit < L'0' || digit > L'9') return std::nullopt;
        number = number * 10 + static_cast<unsigned>(digit - L'0');
    }
    return number;
}

// A port of one of the two kinds: "COMn" where the name has that form, else the system's device path after "COM:".
Found found(int kind, std::wstring_view prefix, std::wstring_view name, const std::string& description) {
    const auto number = numberAfter(name, prefix);
    const std::string text = utf8FromWide(prefix);
    std::string entry = number ? text + std::to_string(*number) : text + ":\\\\.\\" + utf8FromWide(name);
    return {kind, number.value_or(0), {std::move(entry), "", description}};
}

// The serial ports as the system lists them for programs: the values under SERIALCOMM, each a port's name ("COM3")
// under the name of the device behind it ("\Device\Serial0").
std::vector<Found> serialPorts() {
    std::vector<Found> ports;
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &opened) !=
        ERROR_SUCCESS) {
        return ports;
    }
    const RegistryKey key{opened};
    for (DWORD index = 0;; ++index) {
        wchar_t device[256];
        DWORD deviceLength = std::size(device);
        wchar_t name[64];
        DWORD nameBytes = sizeof name;
        DWORD type = 0;
        const LONG status = ::RegEnumValueW(key.get(), index, device, &deviceLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(name), &nameBytes);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || type != REG_SZ) continue;
        std::wstring_view port{name, nameBytes / sizeof(wchar_t)};
        while (!port.empty() && port.back() == L'\0') port.remove_suffix(1);
        if (port.empty()) continue;
        ports.push_back(found(0, L"COM", port, "serial port " + utf8FromWide({device, deviceLength})));
    }
    return ports;
}

// Every name the system's DOS devices hold, such as "LPT1" and "C:", each ended by a null.
std::wstring dosDeviceNames() {
    for (DWORD size = 16 * 1024; size <= 1024 * 1024; size *= 2) {
        std::wstring names(size, L'\0');
        const DWORD length = ::QueryDosDeviceW(nullptr, names.data(), size);
        if (length != 0) return names.substr(0, length);
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
    }
    return {};
}

// The printer ports: the DOS devices named LPTn, each with the device it stands for ("\Device\Parallel0").
std::vector<Found> printerPorts() {
    std::vector<Found> ports;
    const std::wstring names = dosDeviceNames();
    for (std::size_t start = 0, end; start < names.size(); start = end + 1) {
        end = std::min(names.find(L'\0', start), names.size());
        const std::wstring name = names.substr(start, end - start);
        if (!numberAfter(name, L"LPT")) continue;
        wchar_t target[1024];
        const DWORD length = ::QueryDosDeviceW(name.c_str(), target, std::size(target));
        std::string description = "parallel port";
        if (length != 0) description.append(" ").append(utf8FromWide(target));
        ports.push_back(found(1, L"LPT", name, description));
    }
    return ports;
}

}  // namespace

std::vector<OfferedPort> portsOfThisMachine() {
    std::vector<Found> found = serialPorts();
    std::ranges::move(printerPorts(), std::back_inserter(found));
    std::ranges::sort(found, {}, [](const Found& each) { return std::tie(each.kind, each.number, each.port.entry); });
    std::vector<OfferedPort> ports;
    for (Found& each : found) ports.push_back(std::move(each.port));
    std::ranges::move(installedQueuePorts(), std::back_inserter(ports));
    return ports;
}

}  // namespace setip::cli
