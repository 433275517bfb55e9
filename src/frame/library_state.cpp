#include "frame/library_state.hpp"

#include <cstring>

#include "movlex.h"

namespace movlex {

namespace {
LibraryState the_state;  // static storage: zero-filled when the library is loaded
}

LibraryState* const library_state = &the_state;

}  // namespace movlex

using movlex::library_state;

extern "C" MOVLEX_API RetCode MOVLEX_CALL MOVLEX_INIT(void) {
    std::memset(library_state, 0, sizeof *library_state);
    library_state->magic = movlex::STATE_MAGIC;
    for (std::int32_t& period : library_state->unstable_periods) period = movlex::INITIALISED_UNSTABLE_PERIOD;
    return RC_OK;
}

extern "C" MOVLEX_API RetCode MOVLEX_CALL MOVLEX_SHUTDOWN(void) {
    if (library_state->magic != movlex::STATE_MAGIC) return RC_NOT_INITIALIZED;
    std::memset(library_state, 0, sizeof *library_state);
    return RC_OK;
}
