// POS_EndDoc on its own, so that the tests can also build the library without it. It gives -1, which means nothing
// from a vendor library, so no press may tell of a failed send.
#include "posdll_call.h"

#include <cstdint>

extern "C" void recordEndDoc();

extern "C" std::int32_t SETIP_POSDLL_CALL POS_EndDoc() {
    recordEndDoc();
    return -1;
}
