// In the extended library the library state belongs to the core library,
// movlex-ta-dll, which keeps it to itself. Its entries show it, though: the
// state is changed only by MOVLEX_INIT, which sets every unstable period to
// the same value, and MOVLEX_SHUTDOWN, which clears them all, and an EMA's
// lookback is its period - 1 plus its unstable period. A two-bar EMA of
// period 2 therefore gives its one value exactly when the unstable periods are
// clear.
#include "api/stream.hpp"
#include "movlex.h"

namespace movlex {

UnstablePeriods unstable_periods_in_force() {
    const double bars[2] = {0.0, 0.0};
    double out[2];
    std::int32_t out_begin = 0, out_count = 0;
    const RetCode rc = MOVLEX_EMA(0, 1, bars, 2, &out_begin, &out_count, out);
    const std::int32_t period = rc == RC_OK && out_count == 1 ? 0 : INITIALISED_UNSTABLE_PERIOD;
    UnstablePeriods in_force;
    in_force.periods.fill(period);
    return in_force;
}

}  // namespace movlex
