// Exponential family: EMA, DEMA and TEMA over one exponential core.
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

// period - 1 plus the unstable period of the EMA slot; -1 out of range.
std::int32_t ema_lookback(std::int32_t period);

}  // namespace movlex
