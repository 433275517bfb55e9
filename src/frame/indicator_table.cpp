#include "frame/indicator_table.hpp"

#include "averages/exponential.hpp"
#include "averages/simple.hpp"
#include "directional/true_range.hpp"
#include "oscillators/rsi.hpp"
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
    {"ema", "MOVLEX_EMA", "Exponential moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_EMA>, invoke_lookback<&ema_lookback>, OUTPUT_MAY_BE_INPUT},
    {"dema", "MOVLEX_DEMA", "Double exponential moving average", {"input"}, {integer_param("period", 30, 2)},
     {"out"}, invoke_entry<&MOVLEX_DEMA>, invoke_lookback<&dema_lookback>, OUTPUT_MAY_BE_INPUT},
    {"tema", "MOVLEX_TEMA", "Triple exponential moving average", {"input"}, {integer_param("period", 30, 2)},
     {"out"}, invoke_entry<&MOVLEX_TEMA>, invoke_lookback<&tema_lookback>, OUTPUT_MAY_BE_INPUT},
    {"rsi", "MOVLEX_RSI", "Relative strength index", {"input"}, {integer_param("period", 14, 2)}, {"out"},
     invoke_entry<&MOVLEX_RSI>, invoke_lookback<&rsi_lookback>, OUTPUT_MAY_BE_INPUT},
    {"cmo", "MOVLEX_CMO", "Chande momentum oscillator", {"input"}, {integer_param("period", 14, 2)}, {"out"},
     invoke_entry<&MOVLEX_CMO>, invoke_lookback<&cmo_lookback>, OUTPUT_MAY_BE_INPUT},
    {"trange", "MOVLEX_TRANGE", "True range", {"high", "low", "close"}, {}, {"out"}, invoke_entry<&MOVLEX_TRANGE>,
     invoke_lookback<&trange_lookback>, OUTPUT_MAY_BE_INPUT},
    {"atr", "MOVLEX_ATR", "Average true range", {"high", "low", "close"}, {integer_param("period", 14, 1)}, {"out"},
     invoke_entry<&MOVLEX_ATR>, invoke_lookback<&atr_lookback>, OUTPUT_MAY_BE_INPUT},
    {"natr", "MOVLEX_NATR", "Normalised average true range", {"high", "low", "close"},
     {integer_param("period", 14, 1)}, {"out"}, invoke_entry<&MOVLEX_NATR>, invoke_lookback<&natr_lookback>,
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
