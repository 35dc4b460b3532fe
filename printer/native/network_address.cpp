#include "printer/native/network_address.h"

#include <algorithm>
#include <charconv>

namespace setip::native {
namespace {

std::string_view trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::optional<std::uint16_t> parsePort(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
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

}  // namespace

std::optional<NetworkAddress> parseNetworkAddress(std::string_view text) {
    text = trimBlanks(text);
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

}  // namespace setip::native
