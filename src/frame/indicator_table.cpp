#include "frame/indicator_table.hpp"

#include "averages/simple.hpp"
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
};

}  // namespace

std::span<const IndicatorInfo> indicator_table() { return table; }

const IndicatorInfo* find_indicator(std::string_view name) {
    for (const IndicatorInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace movlex
