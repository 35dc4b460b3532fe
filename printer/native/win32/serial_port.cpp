#include "common/deadline.h"
#include "printer/native/deadlines.h"
#include "printer/native/ports.h"
#include "printer/native/serial_line.h"
#include "printer/native/win32/device_file.h"
#include "printer/native/win32/system_failure.h"

#include <chrono>
#include <utility>

namespace setip::native {
namespace {

// The line settings the library takes, as the vendor's: stop bits 0 = one, 2 = two; parity 0 none, 1 odd, 2 even;
// no flow control of any kind, so a printer that never raises CTS cannot hold the write.
DCB lineSettings(DCB settings, const SerialSettings& wanted, const std::string& path) {
    const auto refuse = [&](const std::string& what) {
        return PortFailure("cannot open " + path + ": " + what + " is not a setting this library takes");
    };
    if (wanted.baudRate <= 0) throw refuse("baud rate " + std::to_string(wanted.baudRate));
    if (wanted.dataBits < 5 || wanted.dataBits > 8) throw refuse(std::to_string(wanted.dataBits) + " data bits");
    if (wanted.stopBits != 0 && wanted.stopBits != 2) throw refuse("stop bits " + std::to_string(wanted.stopBits));
    if (wanted.parity < 0 || wanted.parity > 2) throw refuse("parity " + std::to_string(wanted.parity));

    settings.BaudRate = static_cast<DWORD>(wanted.baudRate);
    settings.ByteSize = static_cast<BYTE>(wanted.dataBits);
    settings.StopBits = wanted.stopBits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    settings.Parity = wanted.parity == 1 ? ODDPARITY : wanted.parity == 2 ? EVENPARITY : NOPARITY;
    settings.fBinary = TRUE;
    settings.fParity = wanted.parity != 0;
    settings.fOutxCtsFlow = FALSE;
    settings.fOutxDsrFlow = FALSE;
    settings.fDtrControl = DTR_CONTROL_ENABLE;
    settings.fDsrSensitivity = FALSE;
    settings.fOutX = FALSE;
    settings.fInX = FALSE;
    settings.fRtsControl = RTS_CONTROL_ENABLE;
    settings.fAbortOnError = FALSE;
    return settings;
}

class SerialPort final : public SerialLine {
public:
    SerialPort(UniqueHandle device, std::string path) : SerialLine(std::move(path)), device_(std::move(device)) {}

    void write(std::span<const std::uint8_t> bytes) override {
        writeAllBefore(device_.get(), bytes, deadlineAfter(writeBudget), path());
    }

private:
    std::size_t pendingOutput() const override {
        COMSTAT status{};
        DWORD errors = 0;
        if (!::ClearCommError(device_.get(), &errors, &status)) throw systemFailure("drain", path(), ::GetLastError());
        return status.cbOutQue;
    }
    void discardOutput() override { ::PurgeComm(device_.get(), PURGE_TXABORT | PURGE_TXCLEAR); }
    void release() override { device_.reset(); }

    UniqueHandle device_;
};

}  // namespace

std::unique_ptr<Port> openSerialPort(std::string_view name, const SerialSettings& settings) {
    const std::string path = devicePathOf(name, "COM");
    UniqueHandle device = openDeviceFile(path, true);
    DCB current{};
    current.DCBlength = sizeof current;
    if (!::GetCommState(device.get(), &current)) throw systemFailure("use", path + " as a serial port", ::GetLastError());
    DCB wanted = lineSettings(current, settings, path);
    if (!::SetCommState(device.get(), &wanted)) throw systemFailure("set up", path, ::GetLastError());

    // Reads return at once; a write is bounded by the write deadline even where the overlapped wait is not.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(std::chrono::milliseconds{writeBudget}.count());
    if (!::SetCommTimeouts(device.get(), &timeouts)) throw systemFailure("set up", path, ::GetLastError());
    ::PurgeComm(device.get(), PURGE_TXCLEAR | PURGE_RXCLEAR);
    return std::make_unique<SerialPort>(std::move(device), path);
}

}  // namespace setip::native
