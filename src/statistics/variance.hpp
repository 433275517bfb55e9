// Population variance and standard deviation over a sliding window.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array VAR_PARAMS{integer_param("period", 5, 1), real_param("deviations", 1.0)};
inline constexpr std::array STDDEV_PARAMS{integer_param("period", 5, 2), real_param("deviations", 1.0)};

std::int32_t var_lookback(std::int32_t period, double deviations);
std::int32_t stddev_lookback(std::int32_t period, double deviations);

// VAR validates deviations but ignores it. out may be input.
RetCode var_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    double deviations, std::int32_t* out_begin, std::int32_t* out_count, double* out);
// Standard deviation times deviations; variances below 1e-8 give 0. out may be input.
RetCode stddev_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                       double deviations, std::int32_t* out_begin, std::int32_t* out_count, double* out);

// Unchecked variance: first_index >= 0, last_index >= first_index, non-null
// arrays, period >= 1. Always RC_OK. out may be input.
RetCode var_core(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
