#pragma once

// The calling convention of the vendor library's entries. Only 32-bit Windows has more than one.
#define SETIP_POSDLL_CALL
