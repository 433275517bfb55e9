#include "frame/indicator_table.hpp"

#include "averages/kaufman.hpp"
#include "averages/mesa.hpp"
#include "averages/simple.hpp"
#include "averages/t3.hpp"
#include "averages/triangular.hpp"
#include "movlex.h"
#include "statistics/extremes.hpp"
#include "statistics/variance.hpp"

namespace movlex {

namespace {

constexpr auto OUTPUT_MAY_BE_INPUT = Aliasing::output_may_be_input;

const IndicatorInfo table[] = {
    // Moving averages
    {"sma", "MOVLEX_SMA", "Simple moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_SMA>, invoke_lookback<&sma_lookback>, OUTPUT_MAY_BE_INPUT},
    {"wma", "MOVLEX_WMA", "Weighted moving average", {"input"}, {integer_param("period", 30, 2)}, {"out"},
     invoke_entry<&MOVLEX_WMA>, invoke_lookback<&wma_lookback>, OUTPUT_MAY_BE_INPUT},
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
    // Statistics
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
};

}  // namespace

std::span<const IndicatorInfo> indicator_table() { return table; }

const IndicatorInfo* find_indicator(std::string_view name) {
    for (const IndicatorInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace movlex
