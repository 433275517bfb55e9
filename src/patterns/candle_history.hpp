// The candles a pattern reads: the most recent ones, each with the averages
// of the `period` candles before it. Written once and shared by every
// pattern and by the scan. The averages are summed afresh at every bar, the
// oldest candle first, so that a value depends only on the candles it names,
// whatever bar a call or a stream started from.
#pragma once

#include <cstdint>

#include "frame/kernel.hpp"
#include "patterns/candle.hpp"

namespace movlex {

// Candles a pattern may read back, the current one included.
inline constexpr int KEPT_CANDLES = 8;

// The most recent candles, copied out of the history once per bar: c[k] is
// the candle k bars before the current one (0 the current candle).
struct RecentCandles {
    Candle c[KEPT_CANDLES];

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
    explicit CandleHistory(std::int32_t period) : period_(period), ring_(Index(period) + KEPT_CANDLES + 1) {}

    // Takes bar i (inputs open, high, low, close).
    template <class Bars>
    void push(const Bars& bars, Index i) {
        for (int k = 0; k < 4; ++k) ring_.put(k, i, bars(k, i));
        double bodies = 0.0, ranges = 0.0, closes = 0.0;
        if (seen_ == period_) {
            for (Index j = i - period_; j < i; ++j) {
                const double open = ring_(OPEN, j), close = ring_(CLOSE, j);
                bodies += close >= open ? close - open : open - close;
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
    }

    // The current candle and the count - 1 before it (count at most KEPT).
    void recent(int count, RecentCandles& candles) const {
        for (int k = 0; k < count; ++k) {
            const Index j = current_ - k;
            candles.c[k] = {ring_(OPEN, j),         ring_(HIGH, j),          ring_(LOW, j),          ring_(CLOSE, j),
                            ring_(BODY_AVERAGE, j), ring_(RANGE_AVERAGE, j), ring_(CLOSE_AVERAGE, j)};
        }
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ring_);
        archive.bounded(seen_, 0, period_);
        archive(current_);
    }

private:
    enum Field { OPEN, HIGH, LOW, CLOSE, BODY_AVERAGE, RANGE_AVERAGE, CLOSE_AVERAGE, FIELDS };

    std::int32_t period_ = 1;
    RingBars<FIELDS> ring_;
    std::int32_t seen_ = 0;
    std::int64_t current_ = 0;
};

}  // namespace movlex
