#include "frame/library_state.hpp"

#include <cstring>

namespace movlex {

namespace {
LibraryState the_state;  // static storage: zero-filled when the library is loaded
}

LibraryState* const library_state = &the_state;

void initialise_library_state() {
    std::memset(library_state, 0, sizeof *library_state);
    library_state->magic = STATE_MAGIC;
    for (std::int32_t& period : library_state->unstable_periods) period = INITIALISED_UNSTABLE_PERIOD;
}

bool clear_library_state() {
    if (library_state->magic != STATE_MAGIC) return false;
    std::memset(library_state, 0, sizeof *library_state);
    return true;
}

}  // namespace movlex
