// Feeds arbitrary text to the new-address parser. It gives four octets, which written back as dotted text parse to
// themselves, or raises 9 for fewer than four parts, else 13 or 6; anything else is a finding.
#include "common/error.h"
#include "printer/set_address_command.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

// The input is UTF-16 in the machine's byte order.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    setip::Text text(size / 2, u'\0');
    std::memcpy(text.data(), data, text.size() * sizeof(char16_t));
    const bool fourParts = std::count(text.begin(), text.end(), u'.') >= 3;
    try {
        const setip::Octets octets = setip::parseNewAddress(text);
        std::string dotted;
        for (const auto octet : octets) dotted += std::to_string(octet) + ".";
        if (!fourParts || setip::parseNewAddress(setip::fromUtf8(dotted)) != octets) std::abort();
    } catch (const setip::Error& error) {
        const int number = error.number();
        if (number == 9 ? fourParts : number != 13 && number != 6) std::abort();
    }
    return 0;
}
