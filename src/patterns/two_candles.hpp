// Shapes of two candles (docs/patterns.md, "Two candles"): a is the first
// candle, b the second (the current one).
#pragma once

#include "patterns/pattern_forms.hpp"

namespace movlex::shapes {

// After a fall, a white body that engulfs the black body before it.
struct Engulfing {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK).has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds&) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && b.white() && b.open <= a.close && b.close >= a.open &&
               (b.open < a.close || b.close > a.open);
    }
};

// After a fall, a long black candle and a small body within its body.
struct Harami {
    static constexpr int candles = 2;
    static constexpr Needs needs =
        Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY)
            .has(0, SHORT_BODY)
            .lacks(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && is.small_body(b) && body_inside(b, a);
    }
};

struct HaramiCross {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && is.doji(b) && body_inside(b, a);
    }
};

// After a fall, a long black candle; a white one opening below its low and
// closing above the middle of its body, below its open. Mirrored: the dark
// cloud cover.
struct Piercing {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && b.white() && b.open < a.low &&
               b.close > a.middle() && b.close < a.open;
    }
};

// After a fall, a long black candle and a doji whose body gaps below it.
struct DojiStar {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && is.doji(b) && body_gap_down(b, a);
    }
};

// A black marubozu, then a white marubozu gapping above its high.
struct Kicking {
    static constexpr int candles = 2;
    static constexpr Needs needs =
        Needs{}.has(1, BLACK | LONG_BODY | VERY_SHORT_UPPER | VERY_SHORT_LOWER)
            .has(0, WHITE | LONG_BODY | VERY_SHORT_UPPER | VERY_SHORT_LOWER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return a.black() && is.long_body(a) && is.shaven(a) && b.white() && is.long_body(b) && is.shaven(b) &&
               range_gap_up(b, a);
    }
};

// After a fall, a long black candle; a long white one opening lower and
// closing at the same close.
struct Counterattack {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, WHITE | LONG_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && b.white() && is.long_body(b) && b.open < a.close &&
               is.equal(b.close, a.close, b);
    }
};

// In a rise, a black candle, then a long white one opening at its open.
struct SeparatingLines {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_RISE | BLACK).has(0, WHITE | LONG_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) > 0 && a.black() && b.white() && is.long_body(b) && is.equal(b.open, a.open, b);
    }
};

// After a fall, a long black candle and a black one closing at its close.
struct MatchingLow {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && b.black() && is.equal(b.close, a.close, b);
    }
};

// After a fall, a long black candle and a short black one within its body.
struct HomingPigeon {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, BLACK | SHORT_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && b.black() && is.short_body(b) && body_inside(b, a);
    }
};

// After a fall, a long black candle, then a white one opening below its low:
// the start of the three neck patterns (bearish continuations).
inline constexpr Needs WHITE_BELOW_LONG_BLACK = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, WHITE);
template <class C>
bool white_below_long_black(const C& c, const Thresholds& is) {
    const Candle &a = c[1], &b = c[0];
    return c.trend(2) < 0 && a.black() && is.long_body(a) && b.white() && b.open < a.low;
}

// ... closing at the black candle's low.
struct OnNeck {
    static constexpr int candles = 2;
    static constexpr Needs needs = WHITE_BELOW_LONG_BLACK;
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        return white_below_long_black(c, is) && is.equal(c[0].close, c[1].low, c[0]);
    }
};

// ... closing at or just above the black candle's close.
struct InNeck {
    static constexpr int candles = 2;
    static constexpr Needs needs = WHITE_BELOW_LONG_BLACK;
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return white_below_long_black(c, is) && b.close >= a.close && is.near(b.close, a.close, b);
    }
};

// ... closing well into the black body, below its middle.
struct Thrusting {
    static constexpr int candles = 2;
    static constexpr Needs needs = WHITE_BELOW_LONG_BLACK;
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return white_below_long_black(c, is) && b.close > a.close && !is.near(b.close, a.close, b) &&
               b.close < a.middle();
    }
};

// After a fall, a long black candle and a white one with the same low.
struct Tweezers {
    static constexpr int candles = 2;
    static constexpr Needs needs = Needs{}.has(1, AFTER_FALL | BLACK | LONG_BODY).has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[1], &b = c[0];
        return c.trend(2) < 0 && a.black() && is.long_body(a) && b.white() && is.equal(b.low, a.low, b);
    }
};

// An inside bar (its range within the bar before) and a bar breaking it
// downwards (a lower high and a lower low): a false break, bullish (1). A
// close above the inside bar's high within the three bars after the break,
// the first such close, confirms it (2).
struct Hikkake {
    static constexpr int candles = 6;
    template <class C>
    static int test(const C& c, const Thresholds&) {
        for (int k = 1; k <= 3; ++k) {
            if (!false_break(c, k)) continue;
            const double inside_high = c[k + 1].high;
            bool confirmed_before = false;
            for (int j = 1; j < k; ++j) confirmed_before = confirmed_before || c[j].close > inside_high;
            if (!confirmed_before && c[0].close > inside_high) return 2;
        }
        return false_break(c, 0) ? 1 : 0;
    }

private:
    // The false break at candle k, its inside bar at k + 1, the mother bar at k + 2.
    template <class C>
    static bool false_break(const C& c, int k) {
        const Candle &mother = c[k + 2], &inside = c[k + 1], &breaking = c[k];
        return inside.high < mother.high && inside.low > mother.low && breaking.high < inside.high &&
               breaking.low < inside.low;
    }
};

}  // namespace movlex::shapes
