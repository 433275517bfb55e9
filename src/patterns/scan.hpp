// Every pattern over one series in one pass: one candle history, its recent
// candles copied out once per bar with their marks, and each pattern's test
// of them, run only where the marks meet what the pattern needs.
#pragma once

#include <cstdint>

#include "candle_patterns.hpp"  // generated: patterns::<name>, MOVLEX_CANDLE_PATTERNS
#include "frame/kernel.hpp"
#include "patterns/candle_marks.hpp"

namespace movlex {

#define MOVLEX_PATTERN_ONE(name) +1
inline constexpr int CANDLE_PATTERN_COUNT = 0 MOVLEX_CANDLE_PATTERNS(MOVLEX_PATTERN_ONE);
#undef MOVLEX_PATTERN_ONE

// The most candles any pattern reads.
#define MOVLEX_PATTERN_CANDLES(name) patterns::name::candles,
inline constexpr int MOST_PATTERN_CANDLES = [] {
    const int candles[] = {MOVLEX_CANDLE_PATTERNS(MOVLEX_PATTERN_CANDLES)};
    int most = 0;
    for (int n : candles) most = n > most ? n : most;
    return most;
}();
#undef MOVLEX_PATTERN_CANDLES
static_assert(MOST_PATTERN_CANDLES + 1 <= KEPT_CANDLES && MARKED_CANDLES + 1 <= MOST_PATTERN_CANDLES + 1);

// The names of the patterns, in the order of the scan's columns.
#define MOVLEX_PATTERN_NAME(name) #name,
inline constexpr const char* CANDLE_PATTERN_NAMES[] = {MOVLEX_CANDLE_PATTERNS(MOVLEX_PATTERN_NAME)};
#undef MOVLEX_PATTERN_NAME

// Writes each pattern's value at every bar from the scan's lookback (the
// longest pattern's) on: a row of CANDLE_PATTERN_COUNT values per bar, each
// the value the pattern's own row gives at that bar.
class ScanKernel {
public:
    explicit ScanKernel(const CandleSettings& settings)
        : is_{settings}, history_(settings), warm_up_(lookback()) {}

    Index lookback() const { return Index(is_.s.period) + MOST_PATTERN_CANDLES - 1; }

    // Takes bar i; true with the row of values in out once the warm-up is over.
    template <class Bars, class Value>
    bool step(const Bars& bars, Index i, Value* out) {
        history_.push(bars, i);
        if (warm_up_.consume()) return false;
        RecentCandles recent;
        history_.recent(MOST_PATTERN_CANDLES + 1, recent);
        const CandleMarks marks = CandleMarks::of(recent);
        int k = 0;
#define MOVLEX_PATTERN_VALUE(name) \
    out[k++] = patterns::name::may_fire(marks) ? Value(patterns::name::detect(recent, is_)) : Value(0);
        MOVLEX_CANDLE_PATTERNS(MOVLEX_PATTERN_VALUE)
#undef MOVLEX_PATTERN_VALUE
        return true;
    }

private:
    Thresholds is_;
    CandleHistory history_;
    WarmUp warm_up_;
};

}  // namespace movlex
