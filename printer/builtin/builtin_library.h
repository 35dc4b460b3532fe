#pragma once

#include "printer/builtin/port.h"
#include "printer/builtin/resolver.h"
#include "printer/printer_library.h"

#include <memory>

namespace setip::builtin {

// The printer library built into setip: sockets, serial lines, printer devices and printer queues, one port at a
// time. Names arrive whole, and are UTF-8 from here on; the Windows calls take them as UTF-16 again.
class BuiltinLibrary final : public PrinterLibrary {
public:
    explicit BuiltinLibrary(std::shared_ptr<const NameResolver> resolver = systemResolver());
    ~BuiltinLibrary() override;
    BuiltinLibrary(const BuiltinLibrary&) = delete;
    BuiltinLibrary& operator=(const BuiltinLibrary&) = delete;

    // Closes the current port first, so that a line held exclusively can be opened again.
    std::int32_t open(PortKind kind, TextView name, const LineSettings& line) override;
    void startDoc() override;
    void write(std::int32_t handle, std::span<const std::uint8_t> bytes) override;
    void endDoc() override;
    // Closing with no port open does nothing.
    void close() override;

private:
    Port& current() const;

    std::shared_ptr<const NameResolver> resolver_;
    std::unique_ptr<Port> port_;
    std::int32_t handle_ = 0;  // of the current port, valid only while port_ is set
};

}  // namespace setip::builtin
