#pragma once

#include "common/text.h"

#include <cstdint>
#include <vector>

namespace setip {

// The printers installed on the machine, in the platform's own order.
class InstalledPrinters {
public:
    virtual ~InstalledPrinters() = default;
    virtual std::int32_t Count() const = 0;
    // The device name at a 0-based position; a position past the end raises error 9.
    virtual Text DeviceName(std::int32_t position) const = 0;
};

// Printers read once into a list, as the window reads them once at start-up.
class ListedPrinters final : public InstalledPrinters {
public:
    explicit ListedPrinters(std::vector<Text> names) : names_(std::move(names)) {}
    std::int32_t Count() const override { return static_cast<std::int32_t>(names_.size()); }
    Text DeviceName(std::int32_t position) const override;

private:
    std::vector<Text> names_;
};

}  // namespace setip
