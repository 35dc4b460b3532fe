// POS_EndDoc on its own, so that the tests can also build the library without it.
#include "posdll_call.h"
#include "tests/posdll/recording_record.h"

#include <cstdint>

extern "C" std::int32_t SETIP_POSDLL_CALL POS_EndDoc() {
    recordCall("POS_EndDoc()");
    return 0;
}
