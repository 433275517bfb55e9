// One table describes every indicator: its name, inputs, parameters with
// type, default and range (read from the declaration its validation and its
// lookback use), outputs, the entry that computes it and where a chart draws
// each output. Its rows are generated from the indicator list
// (indicators.list). The command-line tool, the tests, the fuzzer and the
// benchmarks all read it.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "frame/contract.hpp"
#include "frame/parameter.hpp"
#include "api/entry_invoker.hpp"
#include "api/stream.hpp"

namespace movlex {

// Whether an output array may be the same array as an input array (one
// output aliasing one input at a time).
enum class Aliasing { separate_arrays, output_may_be_input };

// Where a chart draws an output: over the price, sharing its scale (moving
// averages, bands, stop and reverse, highest and lowest), in a panel of its
// own below it (oscillators, directional movement, volume, dispersion,
// ranges, flags such as a trend's direction), or as markers on the candles
// where it is not 0 (candlestick patterns: below the candle when positive,
// above it when negative).
enum class Placement { overlay, panel, markers };

// The row's parameters from the indicator's declaration.
template <std::size_t N>
constexpr std::array<ParamInfo, MAX_PARAMS> row_params(const ParamList<N>& declared) {
    static_assert(N <= MAX_PARAMS);
    std::array<ParamInfo, MAX_PARAMS> params{};
    for (std::size_t p = 0; p < N; ++p) params[p] = declared[p];
    return params;
}

// The core set is exported by movlex-ta-dll (MOVLEX_ entries); the extended
// set by the extended library libmovlex (movlex_ entries, movlex_extended.h).
enum class IndicatorSet { core, extended };

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
    Placement placement;  // where the first output is drawn
    StreamFactory stream = nullptr;  // makes the indicator's stream
    IndicatorSet set = IndicatorSet::core;
    const char* family = "";  // the kernel's directory: "averages", "oscillators", ...
    std::array<Placement, MAX_OUTPUTS> output_placements{};  // where each output is drawn

    Placement placement_of(int output) const { return output_placements[std::size_t(output)]; }

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
