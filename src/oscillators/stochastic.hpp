// Stochastic oscillators: STOCHF, STOCH and STOCHRSI.
#pragma once

#include <cstdint>

#include "movlex.h"

namespace movlex {

std::int32_t stoch_lookback(std::int32_t fast_k_period, std::int32_t slow_k_period, std::int32_t slow_k_ma_type,
                            std::int32_t slow_d_period, std::int32_t slow_d_ma_type);
std::int32_t stochf_lookback(std::int32_t fast_k_period, std::int32_t fast_d_period, std::int32_t fast_d_ma_type);
std::int32_t stochrsi_lookback(std::int32_t period, std::int32_t fast_k_period, std::int32_t fast_d_period,
                               std::int32_t fast_d_ma_type);

RetCode stoch_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                      const double* close, std::int32_t fast_k_period, std::int32_t slow_k_period,
                      std::int32_t slow_k_ma_type, std::int32_t slow_d_period, std::int32_t slow_d_ma_type,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out_k, double* out_d);
RetCode stochf_compute(std::int32_t first_index, std::int32_t last_index, const double* high, const double* low,
                       const double* close, std::int32_t fast_k_period, std::int32_t fast_d_period,
                       std::int32_t fast_d_ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out_k,
                       double* out_d);
RetCode stochrsi_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                         std::int32_t fast_k_period, std::int32_t fast_d_period, std::int32_t fast_d_ma_type,
                         std::int32_t* out_begin, std::int32_t* out_count, double* out_k, double* out_d);

}  // namespace movlex
