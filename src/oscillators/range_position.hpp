// Williams %R (WILLR) and Aroon (AROON): where a bar stands against the
// extremes of a sliding window.
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

std::int32_t willr_lookback(std::int32_t period);
std::int32_t aroon_lookback(std::int32_t period);

RetCode willr_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                      double* out);
RetCode aroon_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count, double* out_aroon_down,
                      double* out_aroon_up);

}  // namespace movlex
