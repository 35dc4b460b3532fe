#pragma once

// The calling convention of the vendor library's entries: stdcall on 32-bit Windows, where it differs from the
// default; 64-bit Windows has only one.
#if defined(__i386__) || defined(_M_IX86)
#define SETIP_POSDLL_CALL __stdcall
#else
#define SETIP_POSDLL_CALL
#endif
