// Feeds arbitrary text to CountIF and the Address setter. Each may give a result or raise one of the errors the
// control is allowed to raise; anything else, a crash included, is a finding.
#include "common/error.h"
#include "ipbox/ip_box.h"
#include "tests/ipbox/recording_platform.h"

#include <algorithm>
#include <cstdlib>
#include <set>

namespace {

void expectOneOf(const setip::Error& error, const std::set<int>& allowed) {
    if (!allowed.contains(error.number())) std::abort();
}

}  // namespace

// The first byte gives nChar's length in code units (0 to 3); the rest is UTF-16LE, nChar first, then lzExpr.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    setip::Text units;
    for (std::size_t index = 1; index + 1 < size; index += 2) {
        units.push_back(static_cast<char16_t>(data[index] | data[index + 1] << 8));
    }
    const std::size_t nCharLength = std::min<std::size_t>(data[0] % 4, units.size());

    setip::testing_support::FakeHost host;
    setip::testing_support::RecordingPlatform platform;
    setip::ipBox box{host, platform};
    box.UserControl_Initialize();
    try {
        box.CountIF(units.substr(nCharLength), units.substr(0, nCharLength));
    } catch (const setip::Error& error) {
        expectOneOf(error, {5, 6});
    }
    try {
        box.Address(units.substr(nCharLength));
    } catch (const setip::Error& error) {
        expectOneOf(error, {102, 6, 13, 9});
        if (platform.fields[7] != 0xC0A87B64) std::abort();  // the field keeps its value
        return 0;
    }
    // What the field now holds reads back as an address that loads the same value.
    const std::uint32_t loaded = platform.fields[7];
    box.Address(box.Address());
    if (platform.fields[7] != loaded) std::abort();
    return 0;
}
