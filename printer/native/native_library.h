#pragma once

#include "printer/library.h"
#include "printer/native/name_resolver.h"
#include "printer/native/port.h"

#include <memory>

namespace setip::native {

// The printer library built into setip: sockets, serial lines, printer devices and printer queues, chosen by the
// open mode. It keeps one current port, and remembers why the last open failed.
class NativeLibrary final : public PrinterLibrary {
public:
    explicit NativeLibrary(std::shared_ptr<const NameResolver> resolver = systemResolver());
    ~NativeLibrary() override;
    NativeLibrary(const NativeLibrary&) = delete;
    NativeLibrary& operator=(const NativeLibrary&) = delete;

    std::int32_t POS_Open(const char* name, std::int32_t baudRate, std::int32_t dataBits, std::int32_t stopBits,
                          std::int32_t parity, std::int32_t openMode) override;
    std::int32_t POS_StartDoc() override;
    std::int32_t POS_WriteFile(std::int32_t handle, const std::uint8_t* bytes, std::int32_t count) override;
    std::int32_t POS_EndDoc() override;
    std::int32_t POS_Close() override;

    bool reportsResults() const override { return true; }
    std::string failureReason() const override { return failureReason_; }

private:
    std::unique_ptr<Port> openPort(std::string_view name, std::int32_t baudRate, std::int32_t dataBits,
                                   std::int32_t stopBits, std::int32_t parity, std::int32_t openMode) const;
    // Runs one operation on the current port; 0 when it succeeds, -1 (with the reason kept) when it fails.
    template <typename Operation>
    std::int32_t onPort(Operation operation);

    std::shared_ptr<const NameResolver> resolver_;
    std::unique_ptr<Port> port_;
    std::int32_t handle_ = 0;  // of the current port, valid only while port_ is set
    std::int32_t lastHandle_ = 0;
    std::string failureReason_;
};

}  // namespace setip::native
