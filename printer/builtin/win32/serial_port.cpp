#include "printer/builtin/serial_port.h"

#include <chrono>

namespace setip::builtin {
namespace {

// No flow control of any kind, so a printer that never raises CTS cannot hold the write.
DCB lineSettings(DCB settings, const LineSettings& wanted, const std::string& path) {
    if (wanted.baudRate <= 0) throw refusedSetting(path, "baud rate " + std::to_string(wanted.baudRate));
    if (wanted.dataBits < 5 || wanted.dataBits > 8) throw refusedSetting(path, std::to_string(wanted.dataBits) + " data bits");
    checkStopBitsAndParity(wanted, path);

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

}  // namespace

void setUpLine(const DeviceFile& line, const LineSettings& settings, const std::string& path) {
    DCB current{};
    current.DCBlength = sizeof current;
    if (!::GetCommState(line.get(), &current)) throw systemFailure("use", path + " as a serial port", ::GetLastError());
    DCB wanted = lineSettings(current, settings, path);
    if (!::SetCommState(line.get(), &wanted)) throw systemFailure("set up", path, ::GetLastError());

    // Reads return at once; a write is bounded by the write deadline even where the overlapped wait is not.
    COMMTIMEOUTS timeouts{};
    timeouts.ReadIntervalTimeout = MAXDWORD;
    timeouts.WriteTotalTimeoutConstant = static_cast<DWORD>(std::chrono::milliseconds{writeBudget}.count());
    if (!::SetCommTimeouts(line.get(), &timeouts)) throw systemFailure("set up", path, ::GetLastError());
    ::PurgeComm(line.get(), PURGE_TXCLEAR | PURGE_RXCLEAR);
}

std::size_t pendingOutput(const DeviceFile& line, const std::string& path) {
    COMSTAT status{};
    DWORD errors = 0;
    if (!::ClearCommError(line.get(), &errors, &status)) throw systemFailure("drain", path, ::GetLastError());
    return status.cbOutQue;
}

void discardOutput(const DeviceFile& line) { ::PurgeComm(line.get(), PURGE_TXABORT | PURGE_TXCLEAR); }

void releaseLine(DeviceFile& line) { line.reset(); }

}  // namespace setip::builtin
