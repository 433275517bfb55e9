// Bollinger bands.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array BBANDS_PARAMS{integer_param("period", 5, 2), real_param("deviations_up", 2.0),
                                          real_param("deviations_down", 2.0), ma_type_param("ma_type")};

std::int32_t bbands_lookback(std::int32_t period, double deviations_up, double deviations_down, std::int32_t ma_type);

RetCode bbands_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                       double deviations_up, double deviations_down, std::int32_t ma_type, std::int32_t* out_begin,
                       std::int32_t* out_count, double* out_upper, double* out_middle, double* out_lower);

// Population standard deviations around simple averages the caller already
// has: averages[j] is the simple average of input[begin + j - period + 1 ..
// begin + j]. begin >= period - 1; the arrays are distinct.
void stddev_sma_core(const double* input, const double* averages, std::int32_t begin, std::int32_t count,
                     std::int32_t period, double* out);

}  // namespace movlex
