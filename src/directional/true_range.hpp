// True range, its Wilder average (ATR) and that average in percent of each
// bar's close (NATR).
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// NATR shares the period of ATR.
inline constexpr std::array ATR_PARAMS{integer_param("period", 14, 1)};
inline constexpr auto& NATR_PARAMS = ATR_PARAMS;

// Always 1: bar 0 has no previous close.
std::int32_t trange_lookback();
// period plus the unstable period of the indicator's slot; -1 out of range.
std::int32_t atr_lookback(std::int32_t period);
std::int32_t natr_lookback(std::int32_t period);

RetCode trange_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode atr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out);
RetCode natr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                     const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                     double* out);

}  // namespace movlex
