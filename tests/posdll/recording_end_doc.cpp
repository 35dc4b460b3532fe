// POS_EndDoc on its own, so that the tests can also build the library without it.
#include "posdll_call.h"
#include "tests/support/recording_library.h"

extern "C" setip::testing_support::RecordingLibrary* recording();

extern "C" std::int32_t SETIP_POSDLL_CALL POS_EndDoc() { return recording()->POS_EndDoc(); }
