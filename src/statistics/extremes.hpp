// Highest and lowest value over a sliding window.
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

std::int32_t max_lookback(std::int32_t period);
std::int32_t min_lookback(std::int32_t period);

// out may be input.
RetCode max_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode min_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
