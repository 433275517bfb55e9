// T3 moving average.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array T3_PARAMS{integer_param("period", 5, 2), real_param("volume_factor", 0.7, 0.0, 1.0)};

// 6 * (period - 1) plus the unstable period of the T3 slot; -1 out of range.
std::int32_t t3_lookback(std::int32_t period, double volume_factor);

// out may be input.
RetCode t3_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   double volume_factor, std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
