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

double mama_next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian) {
    return mesa::next_cycle_period<&arc_tangent>(period, real_part, imaginary_part, degrees_per_radian);
}

MamaKernel mama_kernel(const double* params, const UnstablePeriods& unstable) {
    return MamaKernel(params[0], params[1], unstable[UNSTABLE_MAMA]);
}

}  // namespace movlex
