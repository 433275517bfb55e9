// Plus and minus directional indicators: the Wilder-smoothed movement of one
// side in percent of the Wilder-smoothed true range.
#pragma once

#include <array>
#include <cstdint>

#include "directional/side_kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// MINUS_DI shares the period of PLUS_DI.
inline constexpr std::array PLUS_DI_PARAMS{integer_param("period", 14, 1)};
inline constexpr auto& MINUS_DI_PARAMS = PLUS_DI_PARAMS;

// Period 1: 1. Otherwise period plus the unstable period of the indicator's
// slot; -1 out of range.
std::int32_t plus_di_lookback(std::int32_t period);
std::int32_t minus_di_lookback(std::int32_t period);

using PlusDiKernel = directional::SideKernel<true, directional::Side::plus>;
using MinusDiKernel = directional::SideKernel<true, directional::Side::minus>;

PlusDiKernel plus_di_kernel(const double* params, const UnstablePeriods& unstable);
MinusDiKernel minus_di_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
