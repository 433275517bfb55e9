// MAMA smooths the price with a factor that follows the bar-to-bar change of
// the phase of the dominant price cycle. The price is smoothed by a 4-bar
// weighted average, Hilbert transforms split it into in-phase and quadrature
// components, and their arc tangent gives the phase: the smaller the phase
// change, the larger the factor, between slow_limit and fast_limit. FAMA
// follows MAMA with half the factor. The same components feed a smoothed
// estimate of the cycle period, which scales the transforms of the next bar.
#include "averages/mesa.hpp"

#include <algorithm>
#include <cmath>

#include "averages/arc_tangent.hpp"
#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

using mesa::Components;
using mesa::MesaState;

Index mama_lookback_value() { return MamaKernel::BASE_LOOKBACK + unstable_period(UNSTABLE_MAMA); }

double smoothing_factor(double phase_change, double fast_limit, double slow_limit) {
    if (phase_change <= 1.0) return fast_limit;
    const double alpha = fast_limit / phase_change;
    return alpha < slow_limit ? slow_limit : alpha;
}

// Steps 4 onwards of one bar, after the transforms: the phase and the two
// averages of `price`, then the phasor and cycle-period updates.
void advance_bar(MesaState& s, const Components& c, double price, double fast_limit, double slow_limit,
                 double degrees_per_radian) {
    const double q2 = (c.ji + c.q1) * 0.2 + 0.8 * s.previous_q2;
    const double i2 = (c.i1 - c.jq) * 0.2 + 0.8 * s.previous_i2;

    const double phase = c.i1 != 0.0 ? arc_tangent(c.q1 / c.i1) * degrees_per_radian : 0.0;
    const double phase_change = s.previous_phase - phase;
    s.previous_phase = phase;
    const double alpha = smoothing_factor(phase_change, fast_limit, slow_limit);
    s.mama = (1.0 - alpha) * s.mama + alpha * price;
    s.fama = (1.0 - 0.5 * alpha) * s.fama + 0.5 * alpha * s.mama;

    s.real_part = 0.2 * (i2 * s.previous_i2 + q2 * s.previous_q2) + 0.8 * s.real_part;
    s.imaginary_part = 0.2 * (i2 * s.previous_q2 - q2 * s.previous_i2) + 0.8 * s.imaginary_part;
    s.previous_q2 = q2;
    s.previous_i2 = i2;
    s.period = mama_next_cycle_period(s.period, s.real_part, s.imaginary_part, degrees_per_radian);
}

}  // namespace

double mama_next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian) {
    double next = period;
    if (imaginary_part != 0.0 && real_part != 0.0)
        next = 360.0 / (arc_tangent(imaginary_part / real_part) * degrees_per_radian);
    if (next > 1.5 * period) next = 1.5 * period;
    if (next < 0.67 * period) next = 0.67 * period;
    if (next < 6.0)
        next = 6.0;
    else if (next > 50.0)
        next = 50.0;
    return 0.2 * next + 0.8 * period;
}

std::int32_t mama_lookback(double fast_limit, double slow_limit) {
    if (!resolve(MAMA_PARAMS, fast_limit, slow_limit)) return -1;
    return static_cast<std::int32_t>(mama_lookback_value());
}

RetCode mama_compute(std::int32_t first_index, std::int32_t last_index, const double* input, double fast_limit,
                     double slow_limit, std::int32_t* out_begin, std::int32_t* out_count, double* out_mama,
                     double* out_fama) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(MAMA_PARAMS, fast_limit, slow_limit)
                           .outputs(out_mama, out_fama)
                           .result();
    if (rc != RC_OK) return rc;

    const MamaKernel kernel(fast_limit, slow_limit, unstable_period(UNSTABLE_MAMA));
    const Index start = std::max<Index>(first_index, kernel.lookback());
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(kernel, std::array{input}, start - kernel.lookback(), last_index, std::array{out_mama, out_fama});
    return report_output(out_begin, out_count, start, last_index);
}

MamaKernel::MamaKernel(double fast_limit, double slow_limit, std::int32_t unstable)
    : fast_limit_(fast_limit),
      slow_limit_(slow_limit),
      degrees_per_radian_(180.0 / (arc_tangent(1.0) * 4.0)),
      unstable_(unstable),
      warm_up_(BASE_LOOKBACK + unstable) {}

void MamaKernel::advance(double price, double three_back, Index today) {
    const double adjustment = 0.075 * state_.period + 0.54;
    const double smoothed = smoother_.step(price, three_back);
    const Components components = hilbert_.step(smoothed, today, adjustment);
    advance_bar(state_, components, price, fast_limit_, slow_limit_, degrees_per_radian_);
}

MamaKernel mama_kernel(const double* params, const UnstablePeriods& unstable) {
    return MamaKernel(params[0], params[1], unstable[UNSTABLE_MAMA]);
}

}  // namespace movlex
