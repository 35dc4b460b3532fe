#pragma once

#include "ipbox/qt/address_part.h"

#include <QFrame>

#include <array>
#include <cstdint>

namespace setip::qt {

// The four-field address editor that stands in for the system's "SysIPAddress32" field: four parts separated by
// dots, read and loaded as one packed address (first part in bits 31..24).
class AddressField : public QFrame {
public:
    explicit AddressField(QWidget* parent);

    // Blank parts read as 0.
    std::uint32_t packedAddress() const;
    void setPackedAddress(std::uint32_t packed);
    int nonBlankParts() const;

private:
    std::array<AddressPart*, 4> parts_{};
};

}  // namespace setip::qt
