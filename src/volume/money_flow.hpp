// Money-flow index (MFI).
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array MFI_PARAMS{integer_param("period", 14, 2)};

// period plus the unstable period of the MFI slot; -1 out of range.
std::int32_t mfi_lookback(std::int32_t period);

RetCode mfi_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                    const double* close, const double* volume, std::int32_t period, std::int32_t* out_begin,
                    std::int32_t* out_count, double* out);

}  // namespace movlex
