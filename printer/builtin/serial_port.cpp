#include "printer/builtin/serial_port.h"

#include <chrono>
#include <thread>
#include <utility>

namespace setip::builtin {
namespace {

// A press ends by waiting, bounded, for the line to send what it holds, because the system's own drain can block
// for good when the line is held by flow control or a missing printer.
class SerialPort final : public DevicePort {
public:
    using DevicePort::DevicePort;

    void endDoc() override {
        if (!drainBefore(deadlineAfter(writeBudget))) {
            throw PrinterFailure("cannot send to " + path_ + ": the line sent nothing for " +
                              std::to_string(writeBudget.count()) + " s");
        }
    }

    // Unsent bytes are dropped after the close deadline rather than holding the window.
    void close() override {
        const bool drained = drainBefore(deadlineAfter(closeBudget));
        if (!drained) discardOutput(file_);
        releaseLine(file_);
        if (!drained) throw PrinterFailure("cannot finish sending to " + path_ + ": unsent bytes were dropped");
    }

private:
    bool drainBefore(Deadline deadline) const {
        while (pendingOutput(file_, path_) > 0) {
            if (millisecondsLeft(deadline) == 0) return false;
            std::this_thread::sleep_for(std::chrono::microseconds{500});
        }
        return true;
    }
};

}  // namespace

PrinterFailure refusedSetting(const std::string& path, const std::string& setting) {
    return PrinterFailure("cannot open " + path + ": " + setting + " is not a setting this library takes");
}

void checkStopBitsAndParity(const LineSettings& wanted, const std::string& path) {
    if (wanted.stopBits != 0 && wanted.stopBits != 2) throw refusedSetting(path, "stop bits " + std::to_string(wanted.stopBits));
    if (wanted.parity < 0 || wanted.parity > 2) throw refusedSetting(path, "parity " + std::to_string(wanted.parity));
}

std::unique_ptr<Port> openSerialPort(std::string_view name, const LineSettings& settings) {
    const std::string path = devicePathOf(name, "COM");
    DeviceFile line = openDeviceFile(path, DeviceAccess::readWrite);
    setUpLine(line, settings, path);
    return std::make_unique<SerialPort>(std::move(line), path);
}

}  // namespace setip::builtin
