// Trend strength: the directional movement index DX, its Wilder average ADX,
// and the ADX rating ADXR.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// ADX and ADXR share the period of DX.
inline constexpr std::array DX_PARAMS{integer_param("period", 14, 2)};
inline constexpr auto& ADX_PARAMS = DX_PARAMS;
inline constexpr auto& ADXR_PARAMS = DX_PARAMS;

// Lookbacks, -1 for a period outside 2..100000: DX period + U (U of the DX
// slot); ADX 2 * period - 1 + U (U of the ADX slot); ADXR the ADX lookback
// plus period - 1.
std::int32_t dx_lookback(std::int32_t period);
std::int32_t adx_lookback(std::int32_t period);
std::int32_t adxr_lookback(std::int32_t period);

RetCode dx_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                   const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                   double* out);
RetCode adx_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out);
// Needs one scratch array of period + (last - start) values; RC_NO_MEMORY
// with out_begin and out_count untouched when it cannot be had.
RetCode adxr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                     const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                     double* out);

}  // namespace movlex
