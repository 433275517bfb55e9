// Momentum (MOM) and rate of change (ROC): each value against the value
// `period` bars earlier.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// ROC shares the period of MOM.
inline constexpr std::array MOM_PARAMS{integer_param("period", 10, 1)};
inline constexpr auto& ROC_PARAMS = MOM_PARAMS;

std::int32_t mom_lookback(std::int32_t period);
std::int32_t roc_lookback(std::int32_t period);

RetCode mom_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);
RetCode roc_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                    std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
