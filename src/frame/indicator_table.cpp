#include "frame/indicator_table.hpp"

#include "averages/simple.hpp"
#include "directional/indicators.hpp"
#include "directional/movement.hpp"
#include "directional/sar.hpp"
#include "directional/trend_strength.hpp"
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
    // Directional movement
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
    {"sar", "MOVLEX_SAR", "Parabolic stop and reverse", {"high", "low"},
     {real_param("acceleration", 0.02, 0.0), real_param("maximum", 0.2, 0.0)}, {"out"}, invoke_entry<&MOVLEX_SAR>,
     invoke_lookback<&sar_lookback>, OUTPUT_MAY_BE_INPUT},
};

}  // namespace

std::span<const IndicatorInfo> indicator_table() { return table; }

const IndicatorInfo* find_indicator(std::string_view name) {
    for (const IndicatorInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace movlex
