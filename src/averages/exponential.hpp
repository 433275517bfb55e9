// Exponential family: EMA, DEMA and TEMA over one exponential core.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// DEMA and TEMA share the period of EMA.
inline constexpr std::array EMA_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& DEMA_PARAMS = EMA_PARAMS;
inline constexpr auto& TEMA_PARAMS = EMA_PARAMS;

// period - 1 plus the unstable period of the EMA slot; -1 out of range.
std::int32_t ema_lookback(std::int32_t period);
// Two and three times the EMA's lookback: every stage of the chain pays it.
std::int32_t dema_lookback(std::int32_t period);
std::int32_t tema_lookback(std::int32_t period);

RetCode ema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode dema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode tema_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out);

// Unchecked exponential average with smoothing factor k = 2 / (period + 1):
// start >= 0, end >= start, period in 2..100000, input readable up to end, out
// with room for end - max(start, lookback) + 1 values. Seeded with the mean of
// the period values that end U values before the first output, then run
// through those U values. Always RC_OK. out may be input.
RetCode ema_core(std::int32_t start, std::int32_t end, const double* input, std::int32_t period, double k,
                 std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
