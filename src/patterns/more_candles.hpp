// Shapes of four and five candles (docs/patterns.md, "Four and five
// candles"): c[4] or c[3] the first candle, c[0] the current one.
#pragma once

#include "patterns/pattern_forms.hpp"

namespace movlex::shapes {

// After a fall, three long black candles with lower opens and closes, a black
// candle with an upper shadow, and a white candle opening above the fourth's
// body and closing above its high.
struct LadderBottom {
    static constexpr int candles = 5;
    static constexpr Needs needs =
        Needs{}.has(4, AFTER_FALL | BLACK | LONG_BODY)
            .has(3, BLACK | LONG_BODY)
            .has(2, BLACK | LONG_BODY)
            .has(1, BLACK)
            .lacks(1, VERY_SHORT_UPPER)
            .has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        for (int k = 2; k <= 4; ++k)
            if (!c[k].black() || !is.long_body(c[k])) return 0;
        for (int k = 2; k <= 3; ++k)
            if (!(c[k].open < c[k + 1].open && c[k].close < c[k + 1].close)) return 0;
        const Candle &fourth = c[1], &last = c[0];
        return c.trend(5) < 0 && fourth.black() && !is.very_short_upper(fourth) && last.white() &&
               last.open > fourth.open && last.close > fourth.high;
    }
};

// After a fall, two black marubozu, a black candle gapping down whose upper
// shadow reaches into the second's body, and a black candle engulfing the
// third, shadows included.
struct ConcealingBabySwallow {
    static constexpr int candles = 4;
    static constexpr Needs needs =
        Needs{}.has(3, AFTER_FALL | BLACK | VERY_SHORT_UPPER | VERY_SHORT_LOWER)
            .has(2, BLACK | VERY_SHORT_UPPER | VERY_SHORT_LOWER)
            .has(1, BLACK)
            .has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &first = c[3], &second = c[2], &third = c[1], &last = c[0];
        return c.trend(4) < 0 && first.black() && is.shaven(first) && second.black() && is.shaven(second) &&
               second.close < first.close && third.black() && third.open < second.close && third.high > second.close &&
               last.black() && last.open > third.high && last.close < third.low;
    }
};

// After a fall, a long black candle, a black one whose body gaps below it,
// two more candles making lower highs and lows (the fourth black), then a
// long white candle closing within the gap.
struct Breakaway {
    static constexpr int candles = 5;
    static constexpr Needs needs =
        Needs{}.has(4, AFTER_FALL | BLACK | LONG_BODY)
            .has(3, BLACK)
            .has(1, BLACK)
            .has(0, WHITE | LONG_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &first = c[4], &second = c[3], &third = c[2], &fourth = c[1], &last = c[0];
        return c.trend(5) < 0 && first.black() && is.long_body(first) && second.black() &&
               body_gap_down(second, first) && third.high < second.high && third.low < second.low &&
               fourth.black() && fourth.high < third.high && fourth.low < third.low && last.white() &&
               is.long_body(last) && last.close > second.open && last.close < first.close;
    }
};

// In a rise, a long white candle, three short candles falling back within its
// range, and a long white candle opening above the last of them and closing
// above the first's close (rising three methods; mirrored, falling).
struct ThreeMethods {
    static constexpr int candles = 5;
    static constexpr Needs needs =
        Needs{}.has(4, AFTER_RISE | WHITE | LONG_BODY)
            .has(3, SHORT_BODY)
            .has(2, SHORT_BODY)
            .has(1, SHORT_BODY)
            .has(0, WHITE | LONG_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &first = c[4], &last = c[0];
        for (int k = 1; k <= 3; ++k) {
            const Candle &s = c[k];
            if (!is.short_body(s) || s.high > first.high || s.low < first.low) return 0;
        }
        return c.trend(5) > 0 && first.white() && is.long_body(first) && c[2].close < c[3].close &&
               c[1].close < c[2].close && last.white() && is.long_body(last) && last.open > c[1].close &&
               last.close > first.close;
    }
};

// In a rise, a long white candle, a short black one gapping above it, two
// more short candles falling back while staying above the first's middle,
// and a white candle opening above the fourth's close and closing above all
// three highs.
struct MatHold {
    static constexpr int candles = 5;
    static constexpr Needs needs =
        Needs{}.has(4, AFTER_RISE | WHITE | LONG_BODY)
            .has(3, BLACK | SHORT_BODY)
            .has(2, SHORT_BODY)
            .has(1, SHORT_BODY)
            .has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &first = c[4], &last = c[0];
        double highest = c[3].high;
        for (int k = 1; k <= 3; ++k) {
            const Candle &s = c[k];
            if (!is.short_body(s) || s.bottom() <= first.middle()) return 0;
            if (s.high > highest) highest = s.high;
        }
        return c.trend(5) > 0 && first.white() && is.long_body(first) && c[3].black() && body_gap_up(c[3], first) &&
               c[2].close < c[3].close && c[1].close < c[2].close && last.white() && last.open > c[1].close &&
               last.close > highest;
    }
};

}  // namespace movlex::shapes
