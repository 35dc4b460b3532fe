#pragma once

#include "printer/library.h"
#include "printer/press.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace setip::testing_support {

// A printer library that only writes down each call, with its arguments, as one line of text.
class RecordingLibrary final : public PrinterLibrary {
public:
    std::vector<std::string> calls;
    std::int32_t openResult = 7;
    std::string reason;

    std::int32_t POS_Open(const char* name, std::int32_t baudRate, std::int32_t dataBits, std::int32_t stopBits,
                          std::int32_t parity, std::int32_t openMode) override {
        calls.push_back("POS_Open(\"" + std::string{name} + "\", " + std::to_string(baudRate) + ", " +
                        std::to_string(dataBits) + ", " + std::to_string(stopBits) + ", " + std::to_string(parity) +
                        ", " + std::to_string(openMode) + ")");
        return openResult;
    }
    std::int32_t POS_StartDoc() override { return record("POS_StartDoc()"); }
    std::int32_t POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) override {
        std::string hex;
        for (std::int32_t i = 0; i < count; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
            hex += byte;
        }
        return record("POS_WriteFile(" + std::to_string(handle) + ", " + hex + ", " + std::to_string(count) + ")");
    }
    std::int32_t POS_EndDoc() override { return record("POS_EndDoc()"); }
    std::int32_t POS_Close() override { return record("POS_Close()"); }
    std::string failureReason() const override { return reason; }

private:
    std::int32_t record(std::string call) {
        calls.push_back(std::move(call));
        return 0;
    }
};

// Collects the messages a press shows, as "title: text".
class RecordingMessages final : public OperatorMessages {
public:
    std::vector<std::u16string> shown;
    void showError(TextView title, TextView text) override { shown.push_back(Text{title} + u": " + Text{text}); }
};

}  // namespace setip::testing_support
