#include "tools/draw-icon/ico_writer.h"

#include <bit>

namespace setip::icon {
namespace {

class Bytes {
public:
    std::vector<std::uint8_t> data;
    void u8(unsigned value) { data.push_back(static_cast<std::uint8_t>(value)); }
    void u16(unsigned value) {
        u8(value & 0xFF);
        u8(value >> 8);
    }
    void u32(std::uint32_t value) {
        u16(value & 0xFFFF);
        u16(value >> 16);
    }
    void append(const std::vector<std::uint8_t>& more) { data.insert(data.end(), more.begin(), more.end()); }
};

int rowBytes(int size, int bitsPerPixel) { return (size * bitsPerPixel + 31) / 32 * 4; }

// Bottom row first, as bitmaps store it; each row padded to four bytes.
std::vector<std::uint8_t> packRows(int size, int bitsPerPixel, auto&& valueAt) {
    std::vector<std::uint8_t> out;
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(rowBytes(size, bitsPerPixel)));
        for (int x = 0; x < size; ++x) {
            const unsigned value = valueAt(x, y);
            if (bitsPerPixel >= 8) {
                for (int byte = 0; byte < bitsPerPixel / 8; ++byte) {
                    row[static_cast<std::size_t>(x * bitsPerPixel / 8 + byte)] =
                        static_cast<std::uint8_t>(value >> (8 * byte));
                }
            } else {
                const int bit = x * bitsPerPixel;
                const int shift = 8 - bitsPerPixel - bit % 8;
                row[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(value << shift);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

struct Encoded {
    int size;
    int bitsPerPixel;
    unsigned colourCount;  // as the directory states it: 0 for 256 colours or more
    std::vector<std::uint8_t> bitmap;
};

Encoded encode(const Image& image) {
    const int size = image.size;
    Bytes bytes;
    bytes.append(packRows(size, 32, [&](int x, int y) {
        const Rgba& p = image.at(x, y);
        return unsigned{p.blue} | unsigned{p.green} << 8 | unsigned{p.red} << 16 | unsigned{p.alpha} << 24;
    }));
    bytes.append(packRows(size, 1, [&](int x, int y) { return image.at(x, y).alpha == 0 ? 1u : 0u; }));
    return {size, 32, 0, bytes.data};
}

Encoded encode(const IndexedImage& image) {
    const int size = image.size;
    const int bits = static_cast<int>(std::bit_width(image.palette.size() - 1));
    Bytes bytes;
    for (const Rgba& colour : image.palette) {
        bytes.u8(colour.blue);
        bytes.u8(colour.green);
        bytes.u8(colour.red);
        bytes.u8(0);
    }
    const auto index = [&](int x, int y) { return static_cast<std::size_t>(y * size + x); };
    bytes.append(packRows(size, bits, [&](int x, int y) {
        return image.transparent[index(x, y)] ? 0u : unsigned{image.indexes[index(x, y)]};
    }));
    bytes.append(packRows(size, 1, [&](int x, int y) { return image.transparent[index(x, y)] ? 1u : 0u; }));
    return {size, bits, image.palette.size() >= 256 ? 0u : static_cast<unsigned>(image.palette.size()), bytes.data};
}

}  // namespace

std::vector<std::uint8_t> icoFile(const std::vector<IconImage>& images) {
    std::vector<Encoded> encoded;
    for (const IconImage& image : images) {
        encoded.push_back(std::visit([](const auto& i) { return encode(i); }, image));
    }
    Bytes out;
    out.u16(0);
    out.u16(1);  // an icon, not a cursor
    out.u16(static_cast<unsigned>(encoded.size()));
    constexpr std::uint32_t headerBytes = 40;
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * encoded.size());
    for (const Encoded& image : encoded) {
        const auto length = static_cast<std::uint32_t>(headerBytes + image.bitmap.size());
        out.u8(static_cast<unsigned>(image.size));
        out.u8(static_cast<unsigned>(image.size));
        out.u8(image.colourCount);
        out.u8(0);
        out.u16(1);
        out.u16(static_cast<unsigned>(image.bitsPerPixel));
        out.u32(length);
        out.u32(offset);
        offset += length;
    }
    for (const Encoded& image : encoded) {
        const auto size = static_cast<std::uint32_t>(image.size);
        out.u32(headerBytes);
        out.u32(size);
        out.u32(size * 2);  // the colour bitmap and the mask, one above the other
        out.u16(1);
        out.u16(static_cast<unsigned>(image.bitsPerPixel));
        out.u32(0);
        const std::size_t paletteBytes = image.bitsPerPixel <= 8 ? 4u << image.bitsPerPixel : 0;
        out.u32(static_cast<std::uint32_t>(image.bitmap.size() - paletteBytes));
        for (int unused = 0; unused < 4; ++unused) out.u32(0);
        out.append(image.bitmap);
    }
    return out.data;
}

}  // namespace setip::icon
