#include "ipbox/qt/address_field.h"

#include <QHBoxLayout>
#include <QLabel>

namespace setip::qt {

AddressField::AddressField(QWidget* parent) : QFrame(parent) {
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (std::size_t index = 0; index < parts_.size(); ++index) {
        if (index > 0) layout->addWidget(new QLabel(QStringLiteral("."), this));
        parts_[index] = new AddressPart(this);
        layout->addWidget(parts_[index], 1);
    }
    for (std::size_t index = 0; index < parts_.size(); ++index) {
        parts_[index]->setNeighbours(index > 0 ? parts_[index - 1] : nullptr,
                                     index + 1 < parts_.size() ? parts_[index + 1] : nullptr);
    }
    setFocusProxy(parts_[0]);
}

std::uint32_t AddressField::packedAddress() const {
    std::uint32_t packed = 0;
    for (const AddressPart* part : parts_) packed = (packed << 8) | static_cast<std::uint32_t>(part->value());
    return packed;
}

void AddressField::setPackedAddress(std::uint32_t packed) {
    for (std::size_t index = parts_.size(); index-- > 0;) {
        parts_[index]->setText(QString::number(packed & 0xFFu));
        packed >>= 8;
    }
}

int AddressField::nonBlankParts() const {
    int count = 0;
    for (const AddressPart* part : parts_) count += part->text().isEmpty() ? 0 : 1;
    return count;
}

}  // namespace setip::qt
