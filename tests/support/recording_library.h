#pragma once

#include "printer/printer_library.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace setip::testing_support {

// A printer library that only writes down each call, with its arguments, as one line of text, and gives the handle
// it is told to. The call named in `failsAt` throws PrinterFailure(`reason`) once written down.
class RecordingLibrary final : public PrinterLibrary {
public:
    std::vector<std::string> calls;
    std::int32_t openResult = 7;
    std::string failsAt;  // "open", "startDoc", "write", "endDoc" or "close"
    std::string reason = "the recording library refuses";
    std::function<void(const std::string& call)> onCall;  // runs once each call is written down

    std::int32_t open(PortKind kind, TextView name, const LineSettings& line) override {
        constexpr const char* kinds[] = {"network", "serial", "parallel", "driver"};
        record("open", std::string{kinds[static_cast<int>(kind)]} + ", \"" + toUtf8(name) + "\", " +
                           std::to_string(line.baudRate) + " " + std::to_string(line.dataBits) + " " +
                           std::to_string(line.stopBits) + " " + std::to_string(line.parity));
        return openResult;
    }
    void startDoc() override { record("startDoc", ""); }
    void write(std::int32_t handle, std::span<const std::uint8_t> bytes) override {
        std::string hex;
        for (const std::uint8_t byte : bytes) {
            char digits[4];
            std::snprintf(digits, sizeof digits, hex.empty() ? "%02X" : " %02X", byte);
            hex += digits;
        }
        record("write", std::to_string(handle) + ", " + hex);
    }
    void endDoc() override { record("endDoc", ""); }
    void close() override { record("close", ""); }

private:
    void record(const std::string& call, const std::string& arguments) {
        calls.push_back(call + "(" + arguments + ")");
        if (onCall) onCall(calls.back());
        if (call == failsAt) throw PrinterFailure(reason);
    }
};

}  // namespace setip::testing_support
