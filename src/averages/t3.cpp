// T3 runs six exponential averages of one period in a cascade, e1 of the
// price up to e6 of e5, and outputs c1 * e6 + c2 * e5 + c3 * e4 + c4 * e3
// with coefficients from the volume factor v (they add up to 1). Each stage is
// seeded with the plain mean of the first `period` values it receives, so the
// seeds take period + 5 * (period - 1) input values; after them every value
// costs six updates.
#include "averages/t3.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

Index t3_lookback_of(std::int32_t period) { return T3Kernel::STAGES * (Index(period) - 1) + unstable_period(UNSTABLE_T3); }

struct Coefficients {
    double c1, c2, c3, c4;  // weights of e6, e5, e4, e3
};

Coefficients coefficients(double v) {
    const double v2 = v * v;
    Coefficients c;
    c.c1 = -(v2 * v);
    c.c2 = (v2 - c.c1) * 3.0;
    c.c3 = v2 * (-6.0) - (v - c.c1) * 3.0;
    c.c4 = ((v * 3.0 + 1.0) - c.c1) + v2 * 3.0;
    return c;
}

}  // namespace

std::int32_t t3_lookback(std::int32_t period, double volume_factor) {
    if (!resolve(T3_PARAMS, period, volume_factor)) return -1;
    return static_cast<std::int32_t>(t3_lookback_of(period));
}

RetCode t3_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   double volume_factor, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(T3_PARAMS, period, volume_factor)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = t3_lookback_of(period);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    run_kernel(T3Kernel(period, volume_factor, unstable_period(UNSTABLE_T3)), std::array{input}, start - lookback,
               last_index, std::array{out});
    return report_output(out_begin, out_count, start, last_index);
}

T3Kernel::T3Kernel(std::int32_t period, double volume_factor, std::int32_t unstable)
    : period_(period), unstable_(unstable), k_(2.0 / (period + 1.0)), k1_(1.0 - k_), warm_up_(lookback()) {
    const Coefficients c = coefficients(volume_factor);
    c1_ = c.c1;
    c2_ = c.c2;
    c3_ = c.c3;
    c4_ = c.c4;
}

T3Kernel t3_kernel(const double* params, const UnstablePeriods& unstable) {
    return T3Kernel(std::int32_t(params[0]), params[1], unstable[UNSTABLE_T3]);
}

}  // namespace movlex
