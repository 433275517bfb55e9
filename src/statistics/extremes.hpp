// Highest and lowest value over a sliding window.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// MIN (LOWEST) shares the period of MAX (HIGHEST).
inline constexpr std::array HIGHEST_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& LOWEST_PARAMS = HIGHEST_PARAMS;

std::int32_t max_lookback(std::int32_t period);
std::int32_t min_lookback(std::int32_t period);

// out may be input.
RetCode max_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode min_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
