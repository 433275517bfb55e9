// MESA adaptive moving average and its following average FAMA.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array MAMA_PARAMS{real_param("fast_limit", 0.5, 0.01, 0.99),
                                        real_param("slow_limit", 0.05, 0.01, 0.99)};

// 32 plus the unstable period of the MAMA slot, whatever the limits; -1 for a
// limit out of range.
std::int32_t mama_lookback(double fast_limit, double slow_limit);

// Either output may be input.
RetCode mama_compute(std::int32_t first_index, std::int32_t last_index, const double* input, double fast_limit,
                     double slow_limit, std::int32_t* out_begin, std::int32_t* out_count, double* out_mama,
                     double* out_fama);

// One bar's update of the smoothed dominant cycle period from the smoothed
// real and imaginary parts of the bar-to-bar phasor product; degrees_per_radian
// converts the arc tangent.
double mama_next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian);

}  // namespace movlex
