// T3 moving average.
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

// 6 * (period - 1) plus the unstable period of the T3 slot; -1 out of range.
std::int32_t t3_lookback(std::int32_t period, double volume_factor);

// out may be input.
RetCode t3_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   double volume_factor, std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
