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
