// On-balance volume (OBV).
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

std::int32_t obv_lookback();

RetCode obv_compute(std::int32_t first_index, std::int32_t last_index, const double* input, const double* volume,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
