// Plus and minus directional movement: each bar's one-bar movement, or with a
// period of 2 or more its Wilder running sum; and the plus and minus
// directional indicators: the Wilder-smoothed movement of one side in percent
// of the Wilder-smoothed true range.
#pragma once

#include <array>
#include <cstdint>

#include "directional/side_kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// All four share one period.
inline constexpr std::array PLUS_DM_PARAMS{integer_param("period", 14, 1)};
inline constexpr auto& MINUS_DM_PARAMS = PLUS_DM_PARAMS;
inline constexpr auto& PLUS_DI_PARAMS = PLUS_DM_PARAMS;
inline constexpr auto& MINUS_DI_PARAMS = PLUS_DM_PARAMS;

using PlusDmKernel = directional::SideKernel<false, directional::Side::plus>;
using MinusDmKernel = directional::SideKernel<false, directional::Side::minus>;
using PlusDiKernel = directional::SideKernel<true, directional::Side::plus>;
using MinusDiKernel = directional::SideKernel<true, directional::Side::minus>;

PlusDmKernel plus_dm_kernel(const double* params, const UnstablePeriods& unstable);
MinusDmKernel minus_dm_kernel(const double* params, const UnstablePeriods& unstable);
PlusDiKernel plus_di_kernel(const double* params, const UnstablePeriods& unstable);
MinusDiKernel minus_di_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
