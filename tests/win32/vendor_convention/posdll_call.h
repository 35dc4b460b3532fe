#pragma once

// How the vendor's library exports its entries: stdcall on 32-bit Windows, where the callee pops the arguments.
// Written apart from the program's own binding, so that a program that called them another way would fail the
// tests that press through the stand-in built with it.
#if defined(__i386__)
#define SETIP_POSDLL_CALL __attribute__((stdcall))
#else
#define SETIP_POSDLL_CALL
#endif
