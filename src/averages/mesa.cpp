// MAMA smooths the price with a factor that follows the bar-to-bar change of
// the phase of the dominant price cycle. The price is smoothed by a 4-bar
// weighted average, Hilbert transforms split it into in-phase and quadrature
// components, and their arc tangent gives the phase: the smaller the phase
// change, the larger the factor, between slow_limit and fast_limit. FAMA
// follows MAMA with half the factor. The same components feed a smoothed
// estimate of the cycle period, which scales the transforms of the next bar.
#include "averages/mesa.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

Index mama_lookback_value() { return MamaKernel::BASE_LOOKBACK + unstable_period(UNSTABLE_MAMA); }

}  // namespace

double mama_next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian) {
    return mesa::next_cycle_period<&arc_tangent>(period, real_part, imaginary_part, degrees_per_radian);
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

MamaKernel mama_kernel(const double* params, const UnstablePeriods& unstable) {
    return MamaKernel(params[0], params[1], unstable[UNSTABLE_MAMA]);
}

}  // namespace movlex
