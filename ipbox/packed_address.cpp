#include "ipbox/packed_address.h"

namespace setip {

std::uint32_t packedFromBuffer(const PackedOrderBuffer& buffer) {
    std::uint32_t packed = 0;
    for (std::size_t index = buffer.size(); index-- > 0;) packed = (packed << 8) | buffer[index];
    return packed;
}

PackedOrderBuffer bufferFromPacked(std::uint32_t packed) {
    PackedOrderBuffer buffer{};
    for (auto& byte : buffer) {
        byte = static_cast<std::uint8_t>(packed & 0xFFu);
        packed >>= 8;
    }
    return buffer;
}

}  // namespace setip
