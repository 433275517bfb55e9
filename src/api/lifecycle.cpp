// The two lifecycle entries: they set and clear the library state that the
// recursive indicators read their unstable periods from.
#include "frame/library_state.hpp"
#include "movlex.h"

extern "C" MOVLEX_API RetCode MOVLEX_CALL MOVLEX_INIT(void) {
    movlex::initialise_library_state();
    return RC_OK;
}

extern "C" MOVLEX_API RetCode MOVLEX_CALL MOVLEX_SHUTDOWN(void) {
    return movlex::clear_library_state() ? RC_OK : RC_NOT_INITIALIZED;
}
