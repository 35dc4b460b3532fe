#pragma once

#include "printer/library.h"

#include <cstdint>
#include <string>
#include <vector>

namespace setip::testing_support {

// A printer library that writes down every call and opens with the handle it is told to give.
class RecordingLibrary final : public PrinterLibrary {
public:
    struct Open {
        std::string name;
        std::int32_t baudRate, dataBits, stopBits, parity, openMode;
        friend bool operator==(const Open&, const Open&) = default;
    };

    std::int32_t openResult = 7;
    std::vector<Open> opens;
    std::vector<std::string> calls;
    std::vector<std::vector<std::uint8_t>> writes;

    std::int32_t POS_Open(const char* name, std::int32_t baudRate, std::int32_t dataBits, std::int32_t stopBits,
                          std::int32_t parity, std::int32_t openMode) override {
        calls.push_back("POS_Open");
        opens.push_back({name, baudRate, dataBits, stopBits, parity, openMode});
        return openResult;
    }
    std::int32_t POS_StartDoc() override { return record("POS_StartDoc"); }
    std::int32_t POS_WriteFile(std::int32_t, const std::uint8_t* bytes, std::int32_t count) override {
        writes.emplace_back(bytes, bytes + count);
        return record("POS_WriteFile");
    }
    std::int32_t POS_EndDoc() override { return record("POS_EndDoc"); }
    std::int32_t POS_Close() override { return record("POS_Close"); }

private:
    std::int32_t record(const char* call) {
        calls.emplace_back(call);
        return 0;
    }
};

}  // namespace setip::testing_support
