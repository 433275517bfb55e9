// One table describes every indicator: its name, inputs, parameters with
// type, default and range, outputs, and the entry that computes it. The
// command-line tool, the tests, the fuzzer and the benchmarks all read it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "frame/contract.hpp"
#include "api/entry_invoker.hpp"
#include "api/stream.hpp"

namespace movlex {

enum class ParamKind { integer, real, ma_type };

struct ParamInfo {
    const char* name = nullptr;
    ParamKind kind = ParamKind::integer;
    double default_value = 0;
    double min = 0;
    double max = 0;
};

constexpr ParamInfo integer_param(const char* name, std::int32_t default_value, std::int32_t min,
                                  std::int32_t max = PERIOD_MAX) {
    return {name, ParamKind::integer, double(default_value), double(min), double(max)};
}
constexpr ParamInfo real_param(const char* name, double default_value, double min = -REAL_LIMIT,
                               double max = REAL_LIMIT) {
    return {name, ParamKind::real, default_value, min, max};
}
constexpr ParamInfo ma_type_param(const char* name) {
    return {name, ParamKind::ma_type, double(MA_SMA), 0.0, double(MA_TYPE_COUNT - 1)};
}

// Whether an output array may be the same array as an input array (one
// output aliasing one input at a time).
enum class Aliasing { separate_arrays, output_may_be_input };

// Input names: "input" (one price series, usually the close), "open",
// "high", "low", "close", "volume".
struct IndicatorInfo {
    const char* name;     // lower-case abbreviation, "sma"
    const char* entry;    // exported name, "MOVLEX_SMA"
    const char* summary;  // one line
    std::array<const char*, MAX_INPUTS> inputs;
    std::array<ParamInfo, MAX_PARAMS> params;
    std::array<const char*, MAX_OUTPUTS> outputs;
    Invoker invoke;
    LookbackInvoker lookback;  // -1 for parameters out of range
    Aliasing aliasing;
    StreamFactory stream = nullptr;  // makes the indicator's stream

    int input_count() const { return count(inputs); }
    int output_count() const { return count(outputs); }
    int param_count() const {
        int n = 0;
        while (n < MAX_PARAMS && params[n].name != nullptr) ++n;
        return n;
    }

private:
    template <std::size_t N>
    static int count(const std::array<const char*, N>& names) {
        int n = 0;
        while (n < int(N) && names[n] != nullptr) ++n;
        return n;
    }
};

std::span<const IndicatorInfo> indicator_table();
const IndicatorInfo* find_indicator(std::string_view name);

}  // namespace movlex
