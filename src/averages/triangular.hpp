// Triangular moving average.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array TRIMA_PARAMS{integer_param("period", 30, 2)};

std::int32_t trima_lookback(std::int32_t period);

// out may be input.
RetCode trima_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
