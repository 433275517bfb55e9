// Balance of power (BOP).
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

std::int32_t bop_lookback();

RetCode bop_compute(std::int32_t first_index, std::int32_t last_index, const double* open, const double* high,
                    const double* low, const double* close, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out);

}  // namespace movlex
