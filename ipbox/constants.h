#pragma once

#include <cstdint>

// The window-system values the control passes, under names of our own: windows.h defines the originals as macros,
// and the Windows build includes both.
namespace setip::ipbox_constants {

inline constexpr std::uint32_t ipmSetAddress = 1125;  // IPM_SETADDRESS, 0x0465
inline constexpr std::uint32_t ipmGetAddress = 1126;  // IPM_GETADDRESS, 0x0466
inline constexpr std::uint32_t wmSetFont = 0x0030;    // WM_SETFONT
inline constexpr std::int32_t defaultGuiFont = 17;    // DEFAULT_GUI_FONT

inline constexpr std::uint32_t fieldExtendedStyle = 0x00000200;  // WS_EX_CLIENTEDGE
// WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP
inline constexpr std::uint32_t wsChild = 0x40000000;
inline constexpr std::uint32_t wsVisible = 0x10000000;
inline constexpr std::uint32_t wsBorder = 0x00800000;
inline constexpr std::uint32_t wsTabStop = 0x00010000;
inline constexpr std::uint32_t fieldStyle = wsChild | wsVisible | wsBorder | wsTabStop;
static_assert(fieldStyle == 0x50810000);

inline constexpr const char* fieldClassName = "SysIPAddress32";

inline constexpr const char16_t* defaultAddress = u"192.168.123.100";

}  // namespace setip::ipbox_constants
