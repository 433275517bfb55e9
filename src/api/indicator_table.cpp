#include "api/indicator_table.hpp"

#include "averages/exponential.hpp"
#include "averages/kaufman.hpp"
#include "averages/mesa.hpp"
#include "averages/simple.hpp"
#include "averages/t3.hpp"
#include "averages/triangular.hpp"
#include "directional/indicators.hpp"
#include "directional/movement.hpp"
#include "directional/sar.hpp"
#include "directional/trend_strength.hpp"
#include "directional/true_range.hpp"
#include "oscillators/balance_of_power.hpp"
#include "oscillators/commodity_channel.hpp"
#include "oscillators/momentum.hpp"
#include "oscillators/price_oscillators.hpp"
#include "oscillators/range_position.hpp"
#include "oscillators/rsi.hpp"
#include "oscillators/stochastic.hpp"
#include "oscillators/ultimate.hpp"
#include "statistics/bollinger.hpp"
#include "statistics/extremes.hpp"
#include "statistics/variance.hpp"
#include "volume/accumulation.hpp"
#include "volume/money_flow.hpp"
#include "volume/on_balance.hpp"
#include "movlex.h"

namespace movlex {

namespace {

constexpr auto OUTPUT_MAY_BE_INPUT = Aliasing::output_may_be_input;

const IndicatorInfo table[] = {
    // Moving averages
    {"sma", "MOVLEX_SMA", "Simple moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_SMA>, invoke_lookback<&sma_lookback>, OUTPUT_MAY_BE_INPUT,
     stream_of<&sma_kernel>},
    {"ema", "MOVLEX_EMA", "Exponential moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_EMA>, invoke_lookback<&ema_lookback>, OUTPUT_MAY_BE_INPUT,
     stream_of<&ema_kernel>},
    {"wma", "MOVLEX_WMA", "Weighted moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_WMA>, invoke_lookback<&wma_lookback>, OUTPUT_MAY_BE_INPUT},
    {"dema", "MOVLEX_DEMA", "Double exponential moving average", {"input"}, {integer_param("period", 30, 2)},
     {"out"}, invoke_entry<&MOVLEX_DEMA>, invoke_lookback<&dema_lookback>, OUTPUT_MAY_BE_INPUT,
     stream_of<&dema_kernel>},
    {"tema", "MOVLEX_TEMA", "Triple exponential moving average", {"input"}, {integer_param("period", 30, 2)},
     {"out"}, invoke_entry<&MOVLEX_TEMA>, invoke_lookback<&tema_lookback>, OUTPUT_MAY_BE_INPUT,
     stream_of<&tema_kernel>},
    {"trima", "MOVLEX_TRIMA", "Triangular moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_TRIMA>, invoke_lookback<&trima_lookback>, OUTPUT_MAY_BE_INPUT},
    {"kama", "MOVLEX_KAMA", "Kaufman adaptive moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_KAMA>, invoke_lookback<&kama_lookback>, OUTPUT_MAY_BE_INPUT},
    {"mama", "MOVLEX_MAMA", "MESA adaptive moving average and its following average", {"input"},
     {real_param("fast_limit", 0.5, 0.01, 0.99), real_param("slow_limit", 0.05, 0.01, 0.99)},
     {"out_mama", "out_fama"}, invoke_entry<&MOVLEX_MAMA>, invoke_lookback<&mama_lookback>, OUTPUT_MAY_BE_INPUT},
    {"t3", "MOVLEX_T3", "T3 moving average", {"input"},
     {integer_param("period", 5, 2), real_param("volume_factor", 0.7, 0.0, 1.0)}, {"out"},
     invoke_entry<&MOVLEX_T3>, invoke_lookback<&t3_lookback>, OUTPUT_MAY_BE_INPUT},
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
    // Momentum oscillators
    {"mom", "MOVLEX_MOM", "Momentum", {"input"}, {integer_param("period", 10, 1)}, {"out"}, invoke_entry<&MOVLEX_MOM>,
     invoke_lookback<&mom_lookback>, OUTPUT_MAY_BE_INPUT},
    {"roc", "MOVLEX_ROC", "Rate of change in percent", {"input"}, {integer_param("period", 10, 1)}, {"out"},
     invoke_entry<&MOVLEX_ROC>, invoke_lookback<&roc_lookback>, OUTPUT_MAY_BE_INPUT},
    {"rsi", "MOVLEX_RSI", "Relative strength index", {"input"}, {integer_param("period", 14, 2)}, {"out"},
     invoke_entry<&MOVLEX_RSI>, invoke_lookback<&rsi_lookback>, OUTPUT_MAY_BE_INPUT},
    {"cmo", "MOVLEX_CMO", "Chande momentum oscillator", {"input"}, {integer_param("period", 14, 2)}, {"out"},
     invoke_entry<&MOVLEX_CMO>, invoke_lookback<&cmo_lookback>, OUTPUT_MAY_BE_INPUT},
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
    {"willr", "MOVLEX_WILLR", "Williams %R", {"high", "low", "close"}, {integer_param("period", 14, 2)}, {"out"},
     invoke_entry<&MOVLEX_WILLR>, invoke_lookback<&willr_lookback>, OUTPUT_MAY_BE_INPUT},
    {"aroon", "MOVLEX_AROON", "Aroon down and up", {"high", "low"}, {integer_param("period", 14, 2)},
     {"out_aroon_down", "out_aroon_up"}, invoke_entry<&MOVLEX_AROON>, invoke_lookback<&aroon_lookback>,
     OUTPUT_MAY_BE_INPUT},
    {"ultosc", "MOVLEX_ULTOSC", "Ultimate oscillator", {"high", "low", "close"},
     {integer_param("period1", 7, 1), integer_param("period2", 14, 1), integer_param("period3", 28, 1)}, {"out"},
     invoke_entry<&MOVLEX_ULTOSC>, invoke_lookback<&ultosc_lookback>, OUTPUT_MAY_BE_INPUT},
    {"cci", "MOVLEX_CCI", "Commodity channel index", {"high", "low", "close"}, {integer_param("period", 14, 2)},
     {"out"}, invoke_entry<&MOVLEX_CCI>, invoke_lookback<&cci_lookback>, OUTPUT_MAY_BE_INPUT},
    {"bop", "MOVLEX_BOP", "Balance of power", {"open", "high", "low", "close"}, {}, {"out"},
     invoke_entry<&MOVLEX_BOP>, invoke_lookback<&bop_lookback>, OUTPUT_MAY_BE_INPUT},
    // Directional movement and volatility
    {"plus_dm", "MOVLEX_PLUS_DM", "Plus directional movement", {"high", "low"}, {integer_param("period", 14, 1)},
     {"out"}, invoke_entry<&MOVLEX_PLUS_DM>, invoke_lookback<&plus_dm_lookback>, OUTPUT_MAY_BE_INPUT},
    {"minus_dm", "MOVLEX_MINUS_DM", "Minus directional movement", {"high", "low"}, {integer_param("period", 14, 1)},
     {"out"}, invoke_entry<&MOVLEX_MINUS_DM>, invoke_lookback<&minus_dm_lookback>, OUTPUT_MAY_BE_INPUT},
    {"plus_di", "MOVLEX_PLUS_DI", "Plus directional indicator", {"high", "low", "close"},
     {integer_param("period", 14, 1)}, {"out"}, invoke_entry<&MOVLEX_PLUS_DI>, invoke_lookback<&plus_di_lookback>,
     OUTPUT_MAY_BE_INPUT},
    {"minus_di", "MOVLEX_MINUS_DI", "Minus directional indicator", {"high", "low", "close"},
     {integer_param("period", 14, 1)}, {"out"}, invoke_entry<&MOVLEX_MINUS_DI>, invoke_lookback<&minus_di_lookback>,
     OUTPUT_MAY_BE_INPUT},
    {"dx", "MOVLEX_DX", "Directional movement index", {"high", "low", "close"}, {integer_param("period", 14, 2)},
     {"out"}, invoke_entry<&MOVLEX_DX>, invoke_lookback<&dx_lookback>, OUTPUT_MAY_BE_INPUT},
    {"adx", "MOVLEX_ADX", "Average directional movement index", {"high", "low", "close"},
     {integer_param("period", 14, 2)}, {"out"}, invoke_entry<&MOVLEX_ADX>, invoke_lookback<&adx_lookback>,
     OUTPUT_MAY_BE_INPUT},
    {"adxr", "MOVLEX_ADXR", "Average directional movement index rating", {"high", "low", "close"},
     {integer_param("period", 14, 2)}, {"out"}, invoke_entry<&MOVLEX_ADXR>, invoke_lookback<&adxr_lookback>,
     OUTPUT_MAY_BE_INPUT},
    {"trange", "MOVLEX_TRANGE", "True range", {"high", "low", "close"}, {}, {"out"}, invoke_entry<&MOVLEX_TRANGE>,
     invoke_lookback<&trange_lookback>, OUTPUT_MAY_BE_INPUT},
    {"atr", "MOVLEX_ATR", "Average true range", {"high", "low", "close"}, {integer_param("period", 14, 1)}, {"out"},
     invoke_entry<&MOVLEX_ATR>, invoke_lookback<&atr_lookback>, OUTPUT_MAY_BE_INPUT},
    {"natr", "MOVLEX_NATR", "Normalised average true range", {"high", "low", "close"},
     {integer_param("period", 14, 1)}, {"out"}, invoke_entry<&MOVLEX_NATR>, invoke_lookback<&natr_lookback>,
     OUTPUT_MAY_BE_INPUT},
    {"sar", "MOVLEX_SAR", "Parabolic stop and reverse", {"high", "low"},
     {real_param("acceleration", 0.02, 0.0), real_param("maximum", 0.2, 0.0)}, {"out"}, invoke_entry<&MOVLEX_SAR>,
     invoke_lookback<&sar_lookback>, OUTPUT_MAY_BE_INPUT},
    // Statistics and bands
    {"max", "MOVLEX_MAX", "Highest value over a period", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_MAX>, invoke_lookback<&max_lookback>, OUTPUT_MAY_BE_INPUT},
    {"min", "MOVLEX_MIN", "Lowest value over a period", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_MIN>, invoke_lookback<&min_lookback>, OUTPUT_MAY_BE_INPUT},
    {"var", "MOVLEX_VAR", "Population variance (deviations is accepted and ignored)", {"input"},
     {integer_param("period", 5, 1), real_param("deviations", 1.0)}, {"out"}, invoke_entry<&MOVLEX_VAR>,
     invoke_lookback<&var_lookback>, OUTPUT_MAY_BE_INPUT},
    {"stddev", "MOVLEX_STDDEV", "Population standard deviation times a factor", {"input"},
     {integer_param("period", 5, 2), real_param("deviations", 1.0)}, {"out"}, invoke_entry<&MOVLEX_STDDEV>,
     invoke_lookback<&stddev_lookback>, OUTPUT_MAY_BE_INPUT},
    {"bbands", "MOVLEX_BBANDS", "Bollinger bands", {"input"},
     {integer_param("period", 5, 2), real_param("deviations_up", 2.0), real_param("deviations_down", 2.0),
      ma_type_param("ma_type")},
     {"upper", "middle", "lower"}, invoke_entry<&MOVLEX_BBANDS>, invoke_lookback<&bbands_lookback>,
     OUTPUT_MAY_BE_INPUT},
    // Volume
    {"ad", "MOVLEX_AD", "Accumulation/distribution line", {"high", "low", "close", "volume"}, {}, {"out"},
     invoke_entry<&MOVLEX_AD>, invoke_lookback<&ad_lookback>, OUTPUT_MAY_BE_INPUT},
    {"adosc", "MOVLEX_ADOSC", "Accumulation/distribution oscillator", {"high", "low", "close", "volume"},
     {integer_param("fast_period", 3, 2), integer_param("slow_period", 10, 2)}, {"out"},
     invoke_entry<&MOVLEX_ADOSC>, invoke_lookback<&adosc_lookback>, OUTPUT_MAY_BE_INPUT},
    {"obv", "MOVLEX_OBV", "On-balance volume", {"input", "volume"}, {}, {"out"}, invoke_entry<&MOVLEX_OBV>,
     invoke_lookback<&obv_lookback>, OUTPUT_MAY_BE_INPUT},
    {"mfi", "MOVLEX_MFI", "Money-flow index", {"high", "low", "close", "volume"}, {integer_param("period", 14, 2)},
     {"out"}, invoke_entry<&MOVLEX_MFI>, invoke_lookback<&mfi_lookback>, OUTPUT_MAY_BE_INPUT},
};

}  // namespace

std::span<const IndicatorInfo> indicator_table() { return table; }

const IndicatorInfo* find_indicator(std::string_view name) {
    for (const IndicatorInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace movlex
