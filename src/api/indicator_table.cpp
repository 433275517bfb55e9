#include "api/indicator_table.hpp"

#include "api/extended_entry.hpp"
#include "indicator_kernels.inc"  // generated: the kernel header of every row
#include "movlex.h"
#include "movlex_extended.h"
#include "patterns/catalogue.hpp"
#include "patterns/pattern_kernel.hpp"

namespace movlex {

namespace {

// A candlestick pattern's row: its kernel, its settings, its signal drawn as
// markers on the candles. The patterns have their own list,
// MOVLEX_CANDLE_PATTERN_LIST (movlex_extended.h), as their entries take the
// settings in one structure, which indicators.list does not describe.
#define MOVLEX_CANDLE_ROW(name)                                                                                  \
    {"candle_" #name, "movlex_candle_" #name, patterns::name::summary, {"open", "high", "low", "close"},          \
     row_params(CANDLE_PARAMS), {"signal"}, invoke_entry<&movlex_candle_##name>,                                  \
     extended_lookback<&pattern_kernel<patterns::name>>, Aliasing::output_may_be_input, Placement::markers,     \
     stream_of<&pattern_kernel<patterns::name>>, IndicatorSet::extended, "patterns", {Placement::markers}},

// One row per line of indicators.list, then the candlestick patterns.
const IndicatorInfo table[] = {
#include "indicator_rows.inc"  // generated
    MOVLEX_CANDLE_PATTERN_LIST(MOVLEX_CANDLE_ROW)
};

}  // namespace

std::span<const IndicatorInfo> indicator_table() { return table; }

const ParamInfo* declared_params_of(std::int32_t (*lookback)(const double*), int& count) {
    for (const IndicatorInfo& info : table)
        if (info.lookback == lookback) {
            count = info.param_count();
            return info.params.data();
        }
    count = 0;
    return nullptr;
}

const IndicatorInfo* find_indicator(std::string_view name) {
    for (const IndicatorInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace movlex
