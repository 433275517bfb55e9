// MAMA and FAMA with the library's own arc tangent; the kernel is in
// mesa_kernel.hpp.
#include "averages/mesa.hpp"

#include "averages/arc_tangent.hpp"
#include "averages/mesa_kernel.hpp"

namespace movlex {

double mama_next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian) {
    return mesa::next_cycle_period<arc_tangent>(period, real_part, imaginary_part, degrees_per_radian);
}

std::int32_t mama_lookback(double fast_limit, double slow_limit) {
    if (!resolve(MAMA_PARAMS, fast_limit, slow_limit)) return -1;
    return static_cast<std::int32_t>(mesa::mama_lookback_value());
}

RetCode mama_compute(std::int32_t first_index, std::int32_t last_index, const double* input, double fast_limit,
                     double slow_limit, std::int32_t* out_begin, std::int32_t* out_count, double* out_mama,
                     double* out_fama) {
    return mesa::compute<arc_tangent>(first_index, last_index, input, fast_limit, slow_limit, out_begin, out_count,
                                      out_mama, out_fama);
}

}  // namespace movlex
