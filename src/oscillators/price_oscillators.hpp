// Price oscillators: APO, PPO, MACD and MAC2, built on the average selector.
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// PPO shares the parameters of APO; MAC2 takes the first four of MACD, its
// signal line being fixed.
inline constexpr std::array APO_PARAMS{integer_param("fast_period", 12, 2), integer_param("slow_period", 26, 2),
                                       ma_type_param("ma_type")};
inline constexpr auto& PPO_PARAMS = APO_PARAMS;
inline constexpr std::array MACD_PARAMS{integer_param("fast_period", 12, 2), ma_type_param("fast_ma_type"),
                                        integer_param("slow_period", 26, 2), ma_type_param("slow_ma_type"),
                                        integer_param("signal_period", 9, 1), ma_type_param("signal_ma_type")};
inline constexpr std::array MAC2_PARAMS{MACD_PARAMS[0], MACD_PARAMS[1], MACD_PARAMS[2], MACD_PARAMS[3]};

std::int32_t apo_lookback(std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type);
std::int32_t ppo_lookback(std::int32_t fast_period, std::int32_t slow_period, std::int32_t ma_type);
std::int32_t macd_lookback(std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                           std::int32_t slow_ma_type, std::int32_t signal_period, std::int32_t signal_ma_type);
std::int32_t mac2_lookback(std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                           std::int32_t slow_ma_type);

RetCode apo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                    std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out);
RetCode ppo_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                    std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                    double* out);

// Unchecked: arguments validated, defaults applied, scratch of
// last_index - first_index + 1 doubles. percent false gives APO, true PPO.
RetCode po_core(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t fast_period,
                std::int32_t slow_period, std::int32_t ma_type, std::int32_t* out_begin, std::int32_t* out_count,
                double* out, double* scratch, bool percent);

RetCode macd_compute(std::int32_t first_index, std::int32_t last_index, const double* input,
                     std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                     std::int32_t slow_ma_type, std::int32_t signal_period, std::int32_t signal_ma_type,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out_macd, double* out_signal,
                     double* out_hist);

RetCode mac2_compute(std::int32_t first_index, std::int32_t last_index, const double* input,
                     std::int32_t fast_period, std::int32_t fast_ma_type, std::int32_t slow_period,
                     std::int32_t slow_ma_type, std::int32_t* out_begin, std::int32_t* out_count, double* out_macd);

}  // namespace movlex
