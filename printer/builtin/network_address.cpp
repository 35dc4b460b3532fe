#include "printer/builtin/network_address.h"

#include "common/text.h"
#include "printer/printer_library.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <vector>

namespace setip::builtin {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool allOf(std::string_view text, bool (*test)(char)) { return std::all_of(text.begin(), text.end(), test); }

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string_view> partsOf(std::string_view host) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const auto dot = host.find('.', start);
        parts.push_back(host.substr(start, dot == std::string_view::npos ? dot : dot - start));
        if (dot == std::string_view::npos) return parts;
        start = dot + 1;
    }
}

// One number of inet_aton's forms: decimal, octal after a 0, or hexadecimal after 0x.
bool isInetAtonNumber(std::string_view part) {
    if (part.size() >= 2 && part[0] == '0' && (part[1] == 'x' || part[1] == 'X')) {
        return allOf(part.substr(2), [](char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); });
    }
    return !part.empty() && allOf(part, isDigit);
}

// The address when the parts are four decimal numbers from 0 to 255, leading zeros and all.
std::optional<Ipv4> fourDecimalParts(const std::vector<std::string_view>& parts) {
    if (parts.size() != 4) return std::nullopt;
    Ipv4 address = 0;
    for (const std::string_view part : parts) {
        if (part.empty() || !allOf(part, isDigit)) return std::nullopt;
        const auto digits = part.substr(std::min(part.find_first_not_of('0'), part.size() - 1));
        unsigned value = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (digits.size() > 3 || value > 255) return std::nullopt;
        address = address << 8 | value;
    }
    return address;
}

std::string notIpv4(std::string_view host) {
    return quoted(host) + " is not an IPv4 address: write four decimal numbers from 0 to 255 with dots between them";
}

std::string readHost(std::string_view host) {
    const auto parts = partsOf(host);
    const bool digitsAndDots = allOf(host, [](char c) { return isDigit(c) || c == '.'; });
    const bool inetAton = parts.size() <= 4 && std::all_of(parts.begin(), parts.end(), isInetAtonNumber);
    if (!digitsAndDots && !inetAton) return std::string{host};  // a name, or an IPv6 address
    if (const auto address = fourDecimalParts(parts)) return dottedQuad(*address);
    throw PrinterFailure(notIpv4(host));
}

std::optional<std::uint16_t> parsePort(std::string_view text) {
    if (text.empty() || !allOf(text, isDigit)) return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc{} || end != text.data() + text.size() || value == 0 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

std::optional<NetworkAddress> withPort(std::string_view host, std::string_view port) {
    if (host.empty()) return std::nullopt;
    if (port.empty()) return NetworkAddress{std::string{host}};
    const auto number = parsePort(port);
    if (!number) return std::nullopt;
    return NetworkAddress{std::string{host}, *number};
}

std::optional<NetworkAddress> splitHostAndPort(std::string_view text) {
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos) return std::nullopt;
        const auto rest = text.substr(close + 1);
        if (!rest.empty() && (!rest.starts_with(':') || rest.size() == 1)) return std::nullopt;
        return withPort(text.substr(1, close - 1), rest.empty() ? rest : rest.substr(1));
    }
    const auto colon = text.find(':');
    if (colon == std::string_view::npos) return withPort(text, {});
    if (text.find(':', colon + 1) != std::string_view::npos) return withPort(text, {});  // bare IPv6
    if (colon + 1 == text.size()) return std::nullopt;
    return withPort(text.substr(0, colon), text.substr(colon + 1));
}

std::optional<int> parsePrefixLength(std::string_view text) {
    if (text.empty() || text.size() > 2 || !allOf(text, isDigit)) return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    if (value > 32) return std::nullopt;
    return value;
}

}  // namespace

NetworkAddress parseNetworkAddress(std::string_view text) {
    auto address = splitHostAndPort(trimBlanks(text));
    if (!address) throw PrinterFailure(quoted(text) + " is not a printer address (host or host:port)");
    address->host = readHost(address->host);
    return *address;
}

std::string dottedQuad(Ipv4 address) {
    return std::to_string(address >> 24) + "." + std::to_string(address >> 16 & 0xFF) + "." +
           std::to_string(address >> 8 & 0xFF) + "." + std::to_string(address & 0xFF);
}

AddressRange AddressRange::holding(Ipv4 address, int prefixLength) {
    const Ipv4 mask = prefixLength == 0 ? 0 : ~Ipv4{0} << (32 - prefixLength);
    return {address & mask, prefixLength};
}

std::uint64_t AddressRange::hostCount() const { return prefixLength >= 31 ? size() : size() - 2; }

std::vector<Ipv4> AddressRange::hosts() const {
    std::vector<Ipv4> hosts;
    hosts.reserve(static_cast<std::size_t>(hostCount()));
    const Ipv4 first = prefixLength >= 31 ? network : network + 1;
    for (std::uint64_t i = 0; i < hostCount(); ++i) hosts.push_back(first + static_cast<Ipv4>(i));
    return hosts;
}

std::string AddressRange::text() const {
    return prefixLength == 32 ? dottedQuad(network) : dottedQuad(network) + "/" + std::to_string(prefixLength);
}

AddressRange parseAddressRange(std::string_view text) {
    const auto range = trimBlanks(text);
    const auto slash = range.find('/');
    const auto host = range.substr(0, slash);
    const auto prefixLength = slash == std::string_view::npos ? 32 : parsePrefixLength(range.substr(slash + 1));
    if (!prefixLength) {
        throw PrinterFailure(quoted(text) + " is not an address range: write an address and a prefix length from 0 "
                             "to 32, such as 192.168.1.0/24");
    }
    const auto address = fourDecimalParts(partsOf(host));
    if (!address) throw PrinterFailure(notIpv4(host));
    return AddressRange::holding(*address, *prefixLength);
}

}  // namespace setip::builtin
