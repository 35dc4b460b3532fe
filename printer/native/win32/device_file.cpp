#include "printer/native/win32/device_file.h"

#include "printer/native/deadlines.h"
#include "printer/native/device_name.h"
#include "printer/native/win32/system_failure.h"
#include "printer/native/win32/wide_text.h"

#include <algorithm>

namespace setip::native {
namespace {

PortFailure tookNothing(const std::string& path) {
    return PortFailure("cannot write to " + path + ": the device took nothing for " +
                       std::to_string(writeBudget.count()) + " s (is the printer offline?)");
}

}  // namespace

std::string devicePathOf(std::string_view name, std::string_view prefix) {
    const auto parsed = parseDeviceName(name, prefix);
    if (!parsed) {
        throw PortFailure("\"" + std::string{name} + "\" names no port: write " + std::string{prefix} + "n or " +
                          std::string{prefix} + ": followed by a device path");
    }
    if (!parsed->number) return parsed->path;
    return std::string{R"(\\.\)"} + std::string{prefix} + std::to_string(*parsed->number);
}

UniqueHandle openDeviceFile(const std::string& path, bool alsoRead) {
    const DWORD access = GENERIC_WRITE | (alsoRead ? GENERIC_READ : 0);
    UniqueHandle device{::CreateFileW(wideFromAnsi(path).c_str(), access, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_OVERLAPPED, nullptr)};
    if (!device) throw systemFailure("open", path, ::GetLastError());
    return device;
}

void writeAllBefore(HANDLE device, std::span<const std::uint8_t> bytes, Deadline deadline, const std::string& path) {
    const UniqueHandle event{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    if (!event) throw systemFailure("write to", path, ::GetLastError());
    while (!bytes.empty()) {
        OVERLAPPED pending{};
        pending.hEvent = event.get();
        const auto piece = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(device, bytes.data(), piece, nullptr, &pending)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_IO_PENDING) throw systemFailure("write to", path, error);
            const auto wait = static_cast<DWORD>(millisecondsLeft(deadline));
            if (::WaitForSingleObject(event.get(), wait) != WAIT_OBJECT_0) {
                // The write may not outlive this call: its buffer and OVERLAPPED are ours.
                ::CancelIoEx(device, &pending);
                ::GetOverlappedResult(device, &pending, &written, TRUE);
                throw tookNothing(path);
            }
        }
        if (!::GetOverlappedResult(device, &pending, &written, TRUE)) {
            throw systemFailure("write to", path, ::GetLastError());
        }
        bytes = bytes.subspan(written);
        if (written == 0 && millisecondsLeft(deadline) == 0) {
            throw tookNothing(path);
        }
    }
}

}  // namespace setip::native
