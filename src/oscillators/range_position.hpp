// Williams %R (WILLR) and Aroon (AROON): where a bar stands against the
// extremes of a sliding window.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// AROON shares the period of WILLR.
inline constexpr std::array WILLR_PARAMS{integer_param("period", 14, 2)};
inline constexpr auto& AROON_PARAMS = WILLR_PARAMS;

std::int32_t willr_lookback(std::int32_t period);
std::int32_t aroon_lookback(std::int32_t period);

RetCode willr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                      double* out);
RetCode aroon_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out_aroon_down,
                      double* out_aroon_up);

}  // namespace movlex
