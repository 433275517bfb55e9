// Simple and weighted moving averages.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// WMA shares the period of SMA.
inline constexpr std::array SMA_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& WMA_PARAMS = SMA_PARAMS;

std::int32_t sma_lookback(std::int32_t period);
std::int32_t wma_lookback(std::int32_t period);

RetCode sma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode wma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

// Unchecked simple average: start >= 0, end >= start, period >= 1, out with
// room for end - max(start, period - 1) + 1 values. Always RC_OK. out may be input.
RetCode sma_core(std::int32_t start, std::int32_t end, const double* input, std::int32_t period,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
