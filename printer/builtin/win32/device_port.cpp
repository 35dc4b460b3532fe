#include "printer/builtin/device_port.h"

#include "common/win32/wide_text.h"

#include <algorithm>

namespace setip::builtin {

// \\.\COMn reaches COM10 and above too.
std::string numberedDevicePath(std::string_view prefix, unsigned number) {
    return std::string{R"(\\.\)"} + std::string{prefix} + std::to_string(number);
}

DeviceFile openDeviceFile(const std::string& path, DeviceAccess access) {
    const DWORD alsoRead = access == DeviceAccess::readWrite ? GENERIC_READ : 0;
    DeviceFile device{::CreateFileW(wideFromUtf8(path).c_str(), GENERIC_WRITE | alsoRead, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr)};
    if (!device) throw systemFailure("open", path, ::GetLastError());
    const DWORD type = ::GetFileType(device.get());
    if (type != FILE_TYPE_CHAR && type != FILE_TYPE_PIPE) throw notAPrinterDevice(path);
    return device;
}

void writeAllBefore(const DeviceFile& file, std::span<const std::uint8_t> bytes, Deadline deadline,
                    const std::string& path) {
    HANDLE device = file.get();
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
                throw deviceTookNothing(path);
            }
        }
        if (!::GetOverlappedResult(device, &pending, &written, TRUE)) {
            throw systemFailure("write to", path, ::GetLastError());
        }
        bytes = bytes.subspan(written);
        if (written == 0 && millisecondsLeft(deadline) == 0) throw deviceTookNothing(path);
    }
}

}  // namespace setip::builtin
