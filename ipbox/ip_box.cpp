#include "ipbox/ip_box.h"

#include "common/error.h"
#include "common/number.h"
#include "ipbox/ansi_code.h"
#include "ipbox/constants.h"
#include "ipbox/scale.h"

#include <string>
#include <vector>

namespace setip {
namespace {

using namespace ipbox_constants;

// The walk over CountIF's bytes uses a 16-bit index, so its last index may be 32,767 at the most.
constexpr std::size_t largestByteIndex = 32767;

Error addressFormatError() {
    return {addressFormatErrorNumber, u"Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255"};
}

Text decimal(std::uint8_t value) {
    Text text;
    for (const char digit : std::to_string(value)) text.push_back(static_cast<char16_t>(digit));
    return text;
}

}  // namespace

ipBox::ipBox(UserControl& host, PlatformOperations& platform) : host_(host), platform_(platform) {}

std::int16_t ipBox::CountIF(const Text& lzExpr, const Text& nChar) const {
    const std::size_t byteCount = lzExpr.size() * 2;
    // The loop's end is taken into the 16-bit index before the first step.
    if (byteCount > largestByteIndex + 1) throw Error::overflow();
    std::int32_t count = 0;
    if (byteCount > 0) {
        // Looked up once: it cannot change during the walk, and an empty nChar raises only when a byte is compared.
        if (nChar.empty()) throw Error::invalidCall();
        const auto code = ansiCodeOf(nChar.front());
        for (const char16_t unit : lzExpr) {
            const int low = unit & 0xFF;
            const int high = unit >> 8;
            if (code && *code == low) ++count;
            if (code && *code == high) ++count;
        }
    }
    // Stepping past index 32,767 after the last byte leaves the index's range.
    if (byteCount == largestByteIndex + 1) throw Error::overflow();
    return static_cast<std::int16_t>(count);
}

void ipBox::CreateTextBox() {
    const std::int32_t width = nearestInteger32(host_.ScaleWidth());
    const std::int32_t height = nearestInteger32(host_.ScaleHeight());
    hTextBox = platform_.CreateWindowExA(fieldExtendedStyle, fieldClassName, "", fieldStyle, 0, 0, width, height,
                                         host_.hWnd(), 0, host_.hInstance(), nullptr);
    if (hTextBox != 0) {
        const ObjectHandle font = platform_.GetStockObject(defaultGuiFont);
        platform_.SendMessageA(hTextBox, wmSetFont, static_cast<WParam>(font), 1);
    }
}

Text ipBox::Address() const { return ReadAddress(); }

void ipBox::Address(Text NewIP) {
    PackedOrderBuffer buffer{};
    if (CountIF(NewIP, u".") < 3) throw addressFormatError();
    const std::vector<Text> parts = splitAt(NewIP, u'.');
    // Right to left: buffer index 0 takes part 3, so the first error met in that order is the one raised.
    for (std::size_t index = 0; index < buffer.size(); ++index) {
        const std::size_t part = buffer.size() - 1 - index;
        // Only non-ASCII bytes counted as dots can leave part 3 missing.
        if (part >= parts.size()) throw Error::subscriptOutOfRange();
        buffer[index] = narrowToByte(toInteger32(parts[part]));
    }
    std::uint32_t packed = 0;
    platform_.moveMemory(packed, buffer);
    platform_.SendMessageA(hTextBox, ipmSetAddress, 0, static_cast<LParam>(packed));
}

Text ipBox::ReadAddress() const {
    PackedOrderBuffer buffer{};
    std::uint32_t packed = 0;
    platform_.SendMessageA(hTextBox, ipmGetAddress, 0, reinterpret_cast<LParam>(&packed));
    platform_.moveMemory(buffer, packed);
    return decimal(buffer[3]) + u"." + decimal(buffer[2]) + u"." + decimal(buffer[1]) + u"." + decimal(buffer[0]);
}

void ipBox::UserControl_Initialize() {
    CreateTextBox();
    Address(defaultAddress);
}

void ipBox::UserControl_Resize() {
    if (hTextBox == 0) return;
    const std::int32_t width = nearestInteger32(host_.ScaleWidth());
    const std::int32_t height = nearestInteger32(host_.ScaleHeight());
    platform_.MoveWindow(hTextBox, 0, 0, width, height, true);
}

}  // namespace setip
