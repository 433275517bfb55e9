// Parabolic stop and reverse over high and low.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array SAR_PARAMS{real_param("acceleration", 0.02, 0.0), real_param("maximum", 0.2, 0.0)};

// 1 when each argument is DEFAULT_REAL or lies in 0..3e37, -1 otherwise.
std::int32_t sar_lookback(double acceleration, double maximum);

RetCode sar_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    double acceleration, double maximum, std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
