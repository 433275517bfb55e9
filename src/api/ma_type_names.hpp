// The names of the moving-average kinds, indexed by their MaType code.
#pragma once

#include <array>

#include "frame/contract.hpp"

namespace movlex {

inline constexpr std::array<const char*, MA_TYPE_COUNT> MA_TYPE_NAMES = {"sma",   "ema",  "wma",  "dema", "tema",
                                                                         "trima", "kama", "mama", "t3"};

}  // namespace movlex
