// Moving-average type selector: computes any of the nine averages by MaType.
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

// Lookback of the selected average; 0 for a period of 1; -1 out of range.
std::int32_t ma_lookback(std::int32_t period, std::int32_t ma_type);

// period: default 30, 1..100000 (1 copies the input); ma_type 0..8. out may be input.
RetCode ma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
