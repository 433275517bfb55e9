// The building blocks the patterns are written with. A shape is a test of the
// most recent candles written for the bullish side only:
//
//   struct S { static constexpr int candles = N;
//              template <class C> static int test(const C& c, const Thresholds& is); };
//
// where c[k] is the candle k bars back (0 the current one), c.trend(n) the
// trend before the last n candles, and test returns the strength found
// (1, or 2 for a confirmed delayed signal; 0 none). The bearish side is the
// same test on the mirrored candles: every price negated, so that white and
// black, highs and lows, upper and lower shadows, rises and falls, up- and
// down-trends change places, and every measure (bodies, ranges, distances)
// is the same number. A shape may also state its `needs` (candle_marks.hpp),
// which each form turns into may_fire: false when its detect must give 0.
#pragma once

#include "patterns/candle_history.hpp"
#include "patterns/candle_marks.hpp"

namespace movlex {

struct Upright {
    const RecentCandles& recent;
    const Candle& operator[](int k) const { return recent[k]; }
    int trend(int n) const { return recent.trend(n); }
};

struct Mirrored {
    const RecentCandles& recent;
    const Candle& operator[](int k) const { return recent.upside_down[k]; }
    int trend(int n) const { return -recent.trend(n); }
};

// The shape on the candles as they are gives +strength, on the mirrored
// candles -strength.
template <class Shape>
struct Symmetric {
    static constexpr int candles = Shape::candles;
    static int detect(const RecentCandles& h, const Thresholds& is) {
        const int bullish = Shape::test(Upright{h}, is);
        return bullish != 0 ? bullish : -Shape::test(Mirrored{h}, is);
    }
    static bool may_fire(const CandleMarks& m) {
        return NEEDS<Shape>.met_by(m) | MIRRORED_NEEDS<Shape>.met_by(m);
    }
};

// Only the bullish side.
template <class Shape>
struct Rising {
    static constexpr int candles = Shape::candles;
    static int detect(const RecentCandles& h, const Thresholds& is) { return Shape::test(Upright{h}, is); }
    static bool may_fire(const CandleMarks& m) { return NEEDS<Shape>.met_by(m); }
};

// Only the bearish side: the shape's mirror image.
template <class Shape>
struct MirrorOf {
    static constexpr int candles = Shape::candles;
    static int detect(const RecentCandles& h, const Thresholds& is) { return -Shape::test(Mirrored{h}, is); }
    static bool may_fire(const CandleMarks& m) { return MIRRORED_NEEDS<Shape>.met_by(m); }
};

// A bearish shape written as it appears (no bullish twin in the books).
template <class Shape>
struct Falling {
    static constexpr int candles = Shape::candles;
    static int detect(const RecentCandles& h, const Thresholds& is) { return -Shape::test(Upright{h}, is); }
    static bool may_fire(const CandleMarks& m) { return NEEDS<Shape>.met_by(m); }
};

// Two shapes that are not mirror images: +1 for the first, -1 for the second.
template <class Up, class Down>
struct Either {
    static constexpr int candles = Up::candles > Down::candles ? Up::candles : Down::candles;
    static int detect(const RecentCandles& h, const Thresholds& is) {
        const int bullish = Up::test(Upright{h}, is);
        return bullish != 0 ? bullish : -Down::test(Upright{h}, is);
    }
    static bool may_fire(const CandleMarks& m) { return NEEDS<Up>.met_by(m) | NEEDS<Down>.met_by(m); }
};

// A candle of indecision: a warning against the trend before it (bullish
// after a fall, bearish after a rise, none without a trend).
template <class Shape>
struct AgainstTrend {
    static constexpr int candles = Shape::candles;
    static int detect(const RecentCandles& h, const Thresholds& is) {
        return Shape::test(Upright{h}, is) != 0 ? -h.trend(Shape::candles) : 0;
    }
    static bool may_fire(const CandleMarks& m) { return NEEDS<Shape>.met_by(m); }
};

// Relations between two candles' bodies and ranges.
inline bool body_inside(const Candle& inner, const Candle& outer) {
    return inner.top() <= outer.top() && inner.bottom() >= outer.bottom() && inner.body() < outer.body();
}
inline bool body_gap_down(const Candle& later, const Candle& earlier) { return later.top() < earlier.bottom(); }
inline bool body_gap_up(const Candle& later, const Candle& earlier) { return later.bottom() > earlier.top(); }
inline bool range_gap_down(const Candle& later, const Candle& earlier) { return later.high < earlier.low; }
inline bool range_gap_up(const Candle& later, const Candle& earlier) { return later.low > earlier.high; }
// The price lies strictly within the candle's body.
inline bool within_body(double price, const Candle& c) { return price > c.bottom() && price < c.top(); }
// The later candle opens within the earlier one's body (its ends included)
// and closes higher: one step of a steady advance.
inline bool steps_up(const Candle& later, const Candle& earlier) {
    return later.open >= earlier.bottom() && later.open <= earlier.top() && later.close > earlier.close;
}

}  // namespace movlex
