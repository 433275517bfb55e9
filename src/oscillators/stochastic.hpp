// Stochastic oscillators: STOCHF, STOCH and STOCHRSI.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "oscillators/rsi.hpp"
#include "movlex.h"

namespace movlex {

// STOCHRSI takes the period of RSI and the parameters of STOCHF.
inline constexpr std::array STOCHF_PARAMS{integer_param("fast_k_period", 5, 1), integer_param("fast_d_period", 3, 1),
                                          ma_type_param("fast_d_ma_type")};
inline constexpr std::array STOCH_PARAMS{integer_param("fast_k_period", 5, 1), integer_param("slow_k_period", 3, 1),
                                         ma_type_param("slow_k_ma_type"), integer_param("slow_d_period", 3, 1),
                                         ma_type_param("slow_d_ma_type")};
inline constexpr std::array STOCHRSI_PARAMS{RSI_PARAMS[0], STOCHF_PARAMS[0], STOCHF_PARAMS[1], STOCHF_PARAMS[2]};

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
