// Commodity channel index (CCI).
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array CCI_PARAMS{integer_param("period", 14, 2)};

std::int32_t cci_lookback(std::int32_t period);

RetCode cci_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, std::int32_t period, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out);

}  // namespace movlex
