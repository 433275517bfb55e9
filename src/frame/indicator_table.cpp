#include "frame/indicator_table.hpp"

#include "averages/simple.hpp"
#include "oscillators/price_oscillators.hpp"
#include "oscillators/stochastic.hpp"
#include "statistics/bollinger.hpp"
#include "movlex.h"

namespace movlex {

namespace {

constexpr auto OUTPUT_MAY_BE_INPUT = Aliasing::output_may_be_input;

const IndicatorInfo table[] = {
    // Moving averages
    {"sma", "MOVLEX_SMA", "Simple moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_SMA>, invoke_lookback<&sma_lookback>, OUTPUT_MAY_BE_INPUT},
    {"wma", "MOVLEX_WMA", "Weighted moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_WMA>, invoke_lookback<&wma_lookback>, OUTPUT_MAY_BE_INPUT},
    // Price oscillators
    {"apo", "MOVLEX_APO", "Absolute price oscillator", {"input"},
     {integer_param("fast_period", 12, 2), integer_param("slow_period", 26, 2), ma_type_param("ma_type")}, {"out"},
     invoke_entry<&MOVLEX_APO>, invoke_lookback<&apo_lookback>, Aliasing::separate_arrays},
    {"ppo", "MOVLEX_PPO", "Percentage price oscillator", {"input"},
     {integer_param("fast_period", 12, 2), integer_param("slow_period", 26, 2), ma_type_param("ma_type")}, {"out"},
     invoke_entry<&MOVLEX_PPO>, invoke_lookback<&ppo_lookback>, Aliasing::separate_arrays},
    {"macd", "MOVLEX_MACD", "Moving average convergence/divergence", {"input"},
     {integer_param("fast_period", 12, 2), ma_type_param("fast_ma_type"), integer_param("slow_period", 26, 2),
      ma_type_param("slow_ma_type"), integer_param("signal_period", 9, 1), ma_type_param("signal_ma_type")},
     {"macd", "signal", "hist"}, invoke_entry<&MOVLEX_MACD>, invoke_lookback<&macd_lookback>,
     Aliasing::separate_arrays},
    {"mac2", "MOVLEX_MAC2", "MACD line with a 3-value simple signal lookback", {"input"},
     {integer_param("fast_period", 12, 2), ma_type_param("fast_ma_type"), integer_param("slow_period", 26, 2),
      ma_type_param("slow_ma_type")},
     {"macd"}, invoke_entry<&MOVLEX_MAC2>, invoke_lookback<&mac2_lookback>, Aliasing::separate_arrays},
    // Stochastics
    {"stoch", "MOVLEX_STOCH", "Slow stochastic", {"high", "low", "close"},
     {integer_param("fast_k_period", 5, 1), integer_param("slow_k_period", 3, 1), ma_type_param("slow_k_ma_type"),
      integer_param("slow_d_period", 3, 1), ma_type_param("slow_d_ma_type")},
     {"k", "d"}, invoke_entry<&MOVLEX_STOCH>, invoke_lookback<&stoch_lookback>, OUTPUT_MAY_BE_INPUT},
    {"stochf", "MOVLEX_STOCHF", "Fast stochastic", {"high", "low", "close"},
     {integer_param("fast_k_period", 5, 1), integer_param("fast_d_period", 3, 1), ma_type_param("fast_d_ma_type")},
     {"k", "d"}, invoke_entry<&MOVLEX_STOCHF>, invoke_lookback<&stochf_lookback>, OUTPUT_MAY_BE_INPUT},
    {"stochrsi", "MOVLEX_STOCHRSI", "Fast stochastic of the RSI", {"input"},
     {integer_param("period", 14, 2), integer_param("fast_k_period", 5, 1), integer_param("fast_d_period", 3, 1),
      ma_type_param("fast_d_ma_type")},
     {"k", "d"}, invoke_entry<&MOVLEX_STOCHRSI>, invoke_lookback<&stochrsi_lookback>, OUTPUT_MAY_BE_INPUT},
    // Bands
    {"bbands", "MOVLEX_BBANDS", "Bollinger bands", {"input"},
     {integer_param("period", 5, 2), real_param("deviations_up", 2.0), real_param("deviations_down", 2.0),
      ma_type_param("ma_type")},
     {"upper", "middle", "lower"}, invoke_entry<&MOVLEX_BBANDS>, invoke_lookback<&bbands_lookback>,
     OUTPUT_MAY_BE_INPUT},
};

}  // namespace

std::span<const IndicatorInfo> indicator_table() { return table; }

const IndicatorInfo* find_indicator(std::string_view name) {
    for (const IndicatorInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace movlex
