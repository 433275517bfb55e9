// Momentum (MOM) and rate of change (ROC): each value against the value
// `period` bars earlier.
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

std::int32_t mom_lookback(std::int32_t period);
std::int32_t roc_lookback(std::int32_t period);

RetCode mom_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode roc_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
