// Ultimate oscillator (ULTOSC).
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

// The longest of the three periods; -1 if one is out of range.
std::int32_t ultosc_lookback(std::int32_t period1, std::int32_t period2, std::int32_t period3);

RetCode ultosc_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t period1, std::int32_t period2, std::int32_t period3,
                       std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
