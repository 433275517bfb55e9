#include "api/indicator_table.hpp"

#include "api/extended_entry.hpp"
#include "core_lookbacks.hpp"  // generated: the lookback routines of the core set
#include "indicator_kernels.inc"  // generated: the kernel header of every row
#include "movlex.h"
#include "movlex_extended.h"

namespace movlex {

namespace {

// One row per line of indicators.list.
const IndicatorInfo table[] = {
#include "indicator_rows.inc"  // generated
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
