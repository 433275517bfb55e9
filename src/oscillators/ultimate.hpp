// Ultimate oscillator (ULTOSC).
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array ULTOSC_PARAMS{integer_param("period1", 7, 1), integer_param("period2", 14, 1),
                                          integer_param("period3", 28, 1)};

// The longest of the three periods; -1 if one is out of range.
std::int32_t ultosc_lookback(std::int32_t period1, std::int32_t period2, std::int32_t period3);

RetCode ultosc_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t period1, std::int32_t period2, std::int32_t period3,
                       std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
