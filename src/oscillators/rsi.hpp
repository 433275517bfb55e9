// RSI and CMO: one engine of Wilder-smoothed average gain and average loss;
// the two differ only in the final formula and in their unstable slot.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// CMO shares the period of RSI.
inline constexpr std::array RSI_PARAMS{integer_param("period", 14, 2)};
inline constexpr auto& CMO_PARAMS = RSI_PARAMS;

// period plus the unstable period of the indicator's slot; -1 out of range.
std::int32_t rsi_lookback(std::int32_t period);
std::int32_t cmo_lookback(std::int32_t period);

// Writes exactly last_index - max(first_index, lookback) + 1 values; out may be input.
RetCode rsi_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode cmo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
