// The candles a pattern reads: the most recent ones, each with the averages
// of the `period` candles before it and its traits. Written once and shared
// by every pattern and by the scan. The averages are summed afresh at every
// bar, the oldest candle first, so that a value depends only on the candles
// it names, whatever bar a call or a stream started from; the traits are
// judged once, when the candle arrives.
#pragma once

#include <cstdint>

#include "frame/kernel.hpp"
#include "patterns/candle.hpp"

namespace movlex {

// Candles a pattern may read back, the current one included.
inline constexpr int KEPT_CANDLES = 8;
static_assert((KEPT_CANDLES & (KEPT_CANDLES - 1)) == 0);

// The most recent candles, copied out of the history once per bar: c[k] is
// the candle k bars before the current one (0 the current candle).
struct RecentCandles {
    Candle c[KEPT_CANDLES];
    // The same candles upside down, made once for every pattern that reads
    // its bearish side as the mirror of its bullish one.
    Candle upside_down[KEPT_CANDLES];

    const Candle& operator[](int k) const { return c[k]; }
    // The trend before a pattern of n candles (n + 1 candles copied): +1 up,
    // -1 down, 0 none, as the close of the candle before the pattern lies
    // above, below or at the average close of the `period` candles before the
    // pattern's first.
    int trend(int n) const {
        const double prior = c[n].close, mean = c[n - 1].close_average;
        return prior > mean ? 1 : prior < mean ? -1 : 0;
    }
};

class CandleHistory {
public:

    CandleHistory() = default;
    explicit CandleHistory(const CandleSettings& settings)
        : is_{settings}, period_(settings.period), ring_(Index(period_) + KEPT_CANDLES + 1) {}

    const Thresholds& thresholds() const { return is_; }

    // Takes bar i (inputs open, high, low, close).
    template <class Bars>
    void push(const Bars& bars, Index i) {
        for (int k = 0; k < 4; ++k) ring_.put(k, i, bars(k, i));
        double bodies = 0.0, ranges = 0.0, closes = 0.0;
        if (seen_ == period_) {
            for (Index j = i - period_; j < i; ++j) {
                const double open = ring_(OPEN, j), close = ring_(CLOSE, j);
                bodies += body_length(open, close);
                ranges += ring_(HIGH, j) - ring_(LOW, j);
                closes += close;
            }
        } else {
            ++seen_;
        }
        ring_.put(BODY_AVERAGE, i, bodies / double(period_));
        ring_.put(RANGE_AVERAGE, i, ranges / double(period_));
        ring_.put(CLOSE_AVERAGE, i, closes / double(period_));
        current_ = i;
        judge(i);
    }

    // The current candle and the count - 1 before it (count at most KEPT).
    void recent(int count, RecentCandles& candles) const {
        for (int k = 0; k < count; ++k) {
            candles.c[k] = candle(current_ - k);
            candles.upside_down[k] = mirrored(candles.c[k]);
        }
    }

    // The traits are not kept in a saved state: they are judged again from
    // the candles read back.
    template <class Archive>
    void visit(Archive& archive) {
        archive(ring_);
        archive.bounded(seen_, 0, period_);
        archive(current_);
        for (int k = 0; k < KEPT_CANDLES; ++k) judge(current_ - k);
    }

private:
    enum Field { OPEN, HIGH, LOW, CLOSE, BODY_AVERAGE, RANGE_AVERAGE, CLOSE_AVERAGE, FIELDS };

    Candle candle(Index j) const {
        return {ring_(OPEN, j),         ring_(HIGH, j),          ring_(LOW, j),          ring_(CLOSE, j),
                ring_(BODY_AVERAGE, j), ring_(RANGE_AVERAGE, j), ring_(CLOSE_AVERAGE, j), traits_[slot(j)]};
    }
    void judge(Index j) { traits_[slot(j)] = is_.traits(candle(j)); }
    static std::size_t slot(Index j) { return std::size_t(j & (KEPT_CANDLES - 1)); }

    Thresholds is_;
    std::int32_t period_ = 1;
    RingBars<FIELDS> ring_;
    std::int32_t seen_ = 0;
    std::int64_t current_ = 0;
    // The traits of the last KEPT_CANDLES candles, by bar modulo KEPT_CANDLES.
    std::uint32_t traits_[KEPT_CANDLES] = {};
};

}  // namespace movlex
