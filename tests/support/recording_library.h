#pragma once

#include "printer/library.h"
#include "printer/press.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace setip::testing_support {

// A printer library that only writes down each call, with its arguments, as one line of text, and gives the
// results it is told to.
class RecordingLibrary final : public PrinterLibrary {
public:
    std::vector<std::string> calls;
    std::int32_t openResult = 7;
    std::int32_t writeResult = 11;
    std::int32_t endDocResult = 0;
    std::string reason;
    std::function<void(const std::string& call)> onCall;  // runs once each call is written down

    std::int32_t POS_Open(const char* name, std::int32_t baudRate, std::int32_t dataBits, std::int32_t stopBits,
                          std::int32_t parity, std::int32_t openMode) override {
        return record("POS_Open(\"" + std::string{name} + "\", " + std::to_string(baudRate) + ", " +
                      std::to_string(dataBits) + ", " + std::to_string(stopBits) + ", " + std::to_string(parity) +
                      ", " + std::to_string(openMode) + ")", openResult);
    }
    std::int32_t POS_StartDoc() override { return record("POS_StartDoc()"); }
    std::int32_t POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) override {
        std::string hex;
        for (std::int32_t i = 0; i < count; ++i) {
            char byte[4];
            std::snprintf(byte, sizeof byte, i == 0 ? "%02X" : " %02X", bytes[i]);
            hex += byte;
        }
        return record("POS_WriteFile(" + std::to_string(handle) + ", " + hex + ", " + std::to_string(count) + ")",
                      writeResult);
    }
    std::int32_t POS_EndDoc() override { return record("POS_EndDoc()", endDocResult); }
    std::int32_t POS_Close() override { return record("POS_Close()"); }
    bool reportsResults() const override { return true; }
    std::string failureReason() const override { return reason; }

private:
    std::int32_t record(std::string call, std::int32_t result = 0) {
        calls.push_back(std::move(call));
        if (onCall) onCall(calls.back());
        return result;
    }
};

// Collects the messages a press shows, as "title: text", marked when the press still showed itself busy.
class RecordingMessages final : public OperatorMessages {
public:
    std::vector<std::u16string> shown;
    bool busy = false;
    void showError(TextView title, TextView text) override {
        shown.push_back((busy ? u"(busy) " : u"") + Text{title} + u": " + Text{text});
    }
    void showBusy() override { busy = true; }
    void showIdle() override { busy = false; }
};

}  // namespace setip::testing_support
