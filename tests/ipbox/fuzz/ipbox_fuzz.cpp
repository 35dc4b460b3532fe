// Feeds arbitrary text to the Address setter and to CountIF. Each may give a result or raise one of the errors the
// control is allowed to raise; anything else, a crash included, is a finding.
#include "common/error.h"
#include "ipbox/constants.h"
#include "ipbox/ip_box.h"

#include <cstdint>
#include <cstdlib>
#include <initializer_list>

namespace {

using namespace setip;

struct Host final : UserControl {
    WindowHandle hWnd() const override { return 1; }
    double ScaleWidth() const override { return 132; }
    double ScaleHeight() const override { return 19; }
    InstanceHandle hInstance() const override { return 0; }
};

// A platform with one address field, handle 2.
struct OneField final : PlatformOperations {
    std::uint32_t packed = 0;
    WindowHandle CreateWindowExA(std::uint32_t, const char*, const char*, std::uint32_t, std::int32_t, std::int32_t,
                                 std::int32_t, std::int32_t, WindowHandle, std::intptr_t, InstanceHandle,
                                 void*) override {
        return 2;
    }
    ObjectHandle GetStockObject(std::int32_t) override { return 0; }
    LResult SendMessageA(WindowHandle window, std::uint32_t message, WParam, LParam lParam) override {
        if (window != 2) std::abort();
        if (message == ipbox_constants::ipmSetAddress) packed = static_cast<std::uint32_t>(lParam);
        if (message == ipbox_constants::ipmGetAddress) *reinterpret_cast<std::uint32_t*>(lParam) = packed;
        return 0;
    }
    bool MoveWindow(WindowHandle, std::int32_t, std::int32_t, std::int32_t, std::int32_t, bool) override {
        return true;
    }
};

void expectOneOf(const Error& error, std::initializer_list<int> allowed) {
    for (const int number : allowed) {
        if (error.number() == number) return;
    }
    std::abort();
}

}  // namespace

// The first byte gives nChar's length in code units (0 to 3); the rest is UTF-16LE, nChar first, then lzExpr.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    Text units;
    for (std::size_t index = 1; index + 1 < size; index += 2) {
        units.push_back(static_cast<char16_t>(data[index] | data[index + 1] << 8));
    }
    const std::size_t nCharLength = std::min<std::size_t>(data[0] % 4, units.size());
    const Text nChar = units.substr(0, nCharLength);
    const Text lzExpr = units.substr(nCharLength);

    Host host;
    OneField platform;
    ipBox box{host, platform};
    box.UserControl_Initialize();
    try {
        box.CountIF(lzExpr, nChar);
    } catch (const Error& error) {
        expectOneOf(error, {5, 6});
    }
    const std::uint32_t before = platform.packed;
    try {
        box.Address(lzExpr);
    } catch (const Error& error) {
        expectOneOf(error, {102, 6, 13, 9});
        if (platform.packed != before) std::abort();
        return 0;
    }
    // What the field now holds reads back as an address that loads the same value.
    const std::uint32_t loaded = platform.packed;
    box.Address(box.Address());
    if (platform.packed != loaded) std::abort();
    return 0;
}
