// Feeds arbitrary text to CountIF and then the Address setter. Each may give a result or raise one of the errors the
// control is allowed to raise, and a failure leaves the field as it was; anything else is a finding.
#include "tests/ipbox/recording_platform.h"

#include <algorithm>
#include <cstdlib>

// The first byte gives nChar's length in code units (0 to 3); the rest is UTF-16LE, nChar first, then lzExpr.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    setip::Text units;
    for (std::size_t index = 1; index + 1 < size; index += 2) {
        units.push_back(static_cast<char16_t>(data[index] | data[index + 1] << 8));
    }
    const std::size_t nCharLength = std::min<std::size_t>(data[0] % 4, units.size());
    setip::testing_support::RecordingHost host;
    try {
        host.box.CountIF(units.substr(nCharLength), units.substr(0, nCharLength));
        host.box.Address(units.substr(nCharLength));
    } catch (const setip::Error& error) {
        const int number = error.number();
        if (number != 102 && number != 6 && number != 13 && number != 9 && number != 5) std::abort();
        if (host.field != 0xC0A87B64) std::abort();
    }
    return 0;
}
