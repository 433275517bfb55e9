// Moving-average type selector: computes any of the nine averages by MaType.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array MA_PARAMS{integer_param("period", 30, 1), ma_type_param("ma_type")};

// Lookback of the selected average; 0 for a period of 1; -1 out of range.
std::int32_t ma_lookback(std::int32_t period, std::int32_t ma_type);

// Parameters as MA_PARAMS; a period of 1 copies the input. out may be input.
RetCode ma_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
