// Accumulation/distribution line (AD) and its oscillator (ADOSC).
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array ADOSC_PARAMS{integer_param("fast_period", 3, 2), integer_param("slow_period", 10, 2)};

std::int32_t ad_lookback();
std::int32_t adosc_lookback(std::int32_t fast_period, std::int32_t slow_period);

RetCode ad_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                   const double* close, const double* volume, std::int32_t* out_begin, std::int32_t* out_count,
                   double* out);
RetCode adosc_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, const double* volume, std::int32_t fast_period, std::int32_t slow_period,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out);

}  // namespace movlex
