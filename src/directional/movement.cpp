// Both sides run the same routine; the side picks which one-bar movement is
// kept and which unstable period applies. Period 1 reports the one-bar
// movement itself and ignores the unstable period.
#include "directional/movement.hpp"

#include <algorithm>

#include "directional/directional_smoother.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

using directional::BarWalk;
using directional::DirectionalSmoother;
using directional::Side;
using directional::side_of;

namespace {

std::int32_t movement_lookback(std::int32_t period, UnstableSlot slot) {
    if (!resolve(PLUS_DM_PARAMS, period)) return -1;
    if (period == 1) return 1;
    return period - 1 + unstable_period(slot);
}

template <Side side>
RetCode movement_compute(UnstableSlot slot, std::int32_t first_index, std::int32_t last_index, const double* high,
                         const double* low, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                         double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(high, low)
                           .params(PLUS_DM_PARAMS, period)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = movement_lookback(period, slot);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);

    if (period == 1) {
        BarWalk bars(high, low, nullptr, start - 1);
        for (Index i = start, k = 0; i <= last_index; ++i, ++k) out[k] = side_of(bars.next().movement, side);
        return report_output(out_begin, out_count, start, last_index);
    }

    // Sum of the period - 1 bars after the reference bar, then the unstable
    // stretch, whose last step is bar start itself.
    DirectionalSmoother smoother(high, low, nullptr, start - lookback, period);
    smoother.seed();
    const Index unstable_steps = lookback - (period - 1);
    for (Index n = 0; n < unstable_steps; ++n) smoother.step();
    out[0] = smoother.movement(side);
    for (Index i = start + 1, k = 1; i <= last_index; ++i, ++k) {
        smoother.step();
        out[k] = smoother.movement(side);
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace

std::int32_t plus_dm_lookback(std::int32_t period) { return movement_lookback(period, UNSTABLE_PLUS_DM); }

std::int32_t minus_dm_lookback(std::int32_t period) { return movement_lookback(period, UNSTABLE_MINUS_DM); }

RetCode plus_dm_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                        std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return movement_compute<Side::plus>(UNSTABLE_PLUS_DM, first_index, last_index, high, low, period, out_begin,
                                        out_count, out);
}

RetCode minus_dm_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                         std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    return movement_compute<Side::minus>(UNSTABLE_MINUS_DM, first_index, last_index, high, low, period, out_begin,
                                         out_count, out);
}

}  // namespace movlex
