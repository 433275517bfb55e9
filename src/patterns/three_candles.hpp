// Shapes of three candles (docs/patterns.md, "Three candles"): a the first,
// b the second, d the third (the current one).
#pragma once

#include "patterns/pattern_forms.hpp"

namespace movlex::shapes {

// After a fall, a long black candle, a star whose body gaps below it (any
// short body; a doji for the doji star), and a white candle closing above
// the middle of the first body. Mirrored: the evening stars.
template <bool doji>
struct MorningStarOf {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, AFTER_FALL | BLACK | LONG_BODY)
            .has(1, doji ? DOJI_BODY : SHORT_BODY)
            .has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && a.black() && is.long_body(a) && (doji ? is.doji(b) : is.short_body(b)) &&
               body_gap_down(b, a) && d.white() && d.close > a.middle();
    }
};
using MorningStar = MorningStarOf<false>;
using MorningDojiStar = MorningStarOf<true>;

// After a fall, a long black candle, a doji whose whole range gaps below it,
// a white candle whose whole range gaps above the doji.
struct AbandonedBaby {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_FALL | BLACK | LONG_BODY).has(1, DOJI_BODY).has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && a.black() && is.long_body(a) && is.doji(b) && range_gap_down(b, a) && d.white() &&
               range_gap_up(d, b);
    }
};

// Three white candles, none short, each opening within the body before and
// closing higher, each closing near its high. Mirrored: three black crows.
struct ThreeWhiteSoldiers {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, WHITE | HIGH_NEAR_CLOSE)
            .has(1, WHITE | HIGH_NEAR_CLOSE)
            .has(0, WHITE | HIGH_NEAR_CLOSE)
            .lacks(2, SHORT_BODY)
            .lacks(1, SHORT_BODY)
            .lacks(0, SHORT_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        for (int k = 0; k < 3; ++k) {
            const Candle &s = c[k];
            if (!s.white() || is.short_body(s) || !is.closes_near_high(s)) return 0;
        }
        return steps_up(c[1], c[2]) && steps_up(c[0], c[1]);
    }
};

// Three black candles, none short, each opening at the close before and
// closing lower.
struct IdenticalThreeCrows {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, BLACK)
            .has(1, BLACK)
            .has(0, BLACK)
            .lacks(2, SHORT_BODY)
            .lacks(1, SHORT_BODY)
            .lacks(0, SHORT_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return a.black() && b.black() && d.black() && !is.short_body(a) && !is.short_body(b) && !is.short_body(d) &&
               is.equal(b.open, a.close, b) && is.equal(d.open, b.close, d) && b.close < a.close &&
               d.close < b.close;
    }
};

// After a fall, a bullish harami (a long black candle, a white body within
// it), then a white candle closing above the first's open.
struct ThreeInside {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_FALL | BLACK | LONG_BODY).has(1, WHITE).has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && a.black() && is.long_body(a) && b.white() && body_inside(b, a) && d.white() &&
               d.close > a.open;
    }
};

// After a fall, a bullish engulfing, then a white candle closing higher.
struct ThreeOutside {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_FALL | BLACK).has(1, WHITE).has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds&) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && a.black() && b.white() && b.open <= a.close && b.close >= a.open &&
               b.body() > a.body() && d.white() && d.close > b.close;
    }
};

// In a rise, three white candles with higher closes, then a black candle
// opening above the third's close and closing below the first's open (a
// continuation, as Morris reads it).
struct ThreeLineStrike {
    static constexpr int candles = 4;
    static constexpr Needs needs = Needs{}.has(3, AFTER_RISE | WHITE).has(2, WHITE).has(1, WHITE).has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds&) {
        const Candle &w1 = c[3], &w2 = c[2], &w3 = c[1], &strike = c[0];
        return c.trend(4) > 0 && w1.white() && w2.white() && w3.white() && w2.close > w1.close &&
               w3.close > w2.close && strike.black() && strike.open > w3.close && strike.close < w1.open;
    }
};

// After a fall, a long black candle with a lower shadow, a smaller black
// candle with a higher low, and a small black marubozu within the second's
// range.
struct ThreeStarsInTheSouth {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, AFTER_FALL | BLACK | LONG_BODY)
            .lacks(2, VERY_SHORT_LOWER)
            .has(1, BLACK)
            .lacks(1, VERY_SHORT_LOWER)
            .has(0, BLACK | SHORT_BODY | VERY_SHORT_UPPER | VERY_SHORT_LOWER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && a.black() && is.long_body(a) && !is.very_short_lower(a) && b.black() &&
               b.body() < a.body() && b.low > a.low && b.open <= a.open && !is.very_short_lower(b) &&
               d.black() && is.short_body(d) && is.shaven(d) && d.high <= b.high && d.low >= b.low;
    }
};

// Bearish, after a rise: a long white candle, a black one whose body gaps
// above it, a black one opening within the second's body and closing within
// the first's.
struct TwoCrows {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_RISE | WHITE | LONG_BODY).has(1, BLACK).has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) > 0 && a.white() && is.long_body(a) && b.black() && body_gap_up(b, a) && d.black() &&
               within_body(d.open, b) && within_body(d.close, a);
    }
};

// Bearish, after a rise: a long white candle, a short black one gapping
// above it, a black one engulfing the second's body and still closing above
// the first's close.
struct UpsideGapTwoCrows {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, AFTER_RISE | WHITE | LONG_BODY)
            .has(1, BLACK | SHORT_BODY)
            .has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) > 0 && a.white() && is.long_body(a) && b.black() && is.short_body(b) &&
               body_gap_up(b, a) && d.black() && d.open > b.open && d.close < b.close && d.close > a.close;
    }
};

// After a fall, a long black candle, a black body within it making a new
// low, a short white candle below the second's close.
struct UniqueThreeRiver {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, AFTER_FALL | BLACK | LONG_BODY)
            .has(1, BLACK)
            .has(0, WHITE | SHORT_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && a.black() && is.long_body(a) && b.black() && body_inside(b, a) && b.low < a.low &&
               d.white() && is.short_body(d) && d.close < b.close && d.low >= b.low;
    }
};

// Bearish, after a rise: three white candles stepping up, the first long,
// the bodies shrinking, the last with an upper shadow.
struct AdvanceBlock {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, AFTER_RISE | WHITE | LONG_BODY)
            .has(1, WHITE)
            .has(0, WHITE)
            .lacks(0, VERY_SHORT_UPPER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) > 0 && a.white() && b.white() && d.white() && is.long_body(a) && steps_up(b, a) &&
               steps_up(d, b) && b.body() < a.body() && d.body() < b.body() && !is.very_short_upper(d);
    }
};

// Bearish, after a rise: two long white candles stepping up, then a short
// white one opening near the second's close.
struct StalledPattern {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, AFTER_RISE | WHITE | LONG_BODY)
            .has(1, WHITE | LONG_BODY)
            .has(0, WHITE | SHORT_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) > 0 && a.white() && b.white() && d.white() && is.long_body(a) && is.long_body(b) &&
               steps_up(b, a) && is.short_body(d) && is.near(d.open, b.close, d) && d.close > b.close;
    }
};

// After a fall, a black candle, a white one trading above its close, a black
// one closing at the first's close.
struct StickSandwich {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_FALL | BLACK).has(1, WHITE).has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && a.black() && b.white() && b.low > a.close && d.black() &&
               is.equal(d.close, a.close, d);
    }
};

// In a rise, two white candles with a window between them, then a black
// candle opening within the second's body and closing within the window.
struct TasukiGap {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_RISE | WHITE).has(1, WHITE).has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds&) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) > 0 && a.white() && b.white() && range_gap_up(b, a) && d.black() && within_body(d.open, b) &&
               d.close < b.low && d.close > a.high;
    }
};

// In a rise, two white candles with a window between them, then a black
// candle opening within the second's body and closing within the first's,
// closing the window.
struct GapThreeMethods {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_RISE | WHITE).has(1, WHITE).has(0, BLACK);
    template <class C>
    static int test(const C& c, const Thresholds&) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) > 0 && a.white() && b.white() && range_gap_up(b, a) && d.black() && within_body(d.open, b) &&
               within_body(d.close, a);
    }
};

// Two white candles side by side (the same open, a close near) after a
// window: bullish above a white candle in a rise, bearish below a black
// candle in a fall (Nison).
template <int direction>
struct SideBySideWhiteLines {
    static constexpr int candles = 3;
    static constexpr Needs needs =
        Needs{}.has(2, direction > 0 ? AFTER_RISE | WHITE : AFTER_FALL | BLACK)
            .has(1, WHITE)
            .has(0, WHITE);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        const bool window = direction > 0 ? a.white() && body_gap_up(b, a) : a.black() && body_gap_down(b, a);
        return c.trend(3) == direction && window && b.white() && d.white() && is.equal(d.open, b.open, d) &&
               is.near(d.close, b.close, d);
    }
};

// Either side: side-by-side white lines in a rise or in a fall.
using SideBySide = Either<SideBySideWhiteLines<1>, SideBySideWhiteLines<-1>>;

// After a fall, three doji, the middle one's body below the other two.
struct Tristar {
    static constexpr int candles = 3;
    static constexpr Needs needs = Needs{}.has(2, AFTER_FALL | DOJI_BODY).has(1, DOJI_BODY).has(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &a = c[2], &b = c[1], &d = c[0];
        return c.trend(3) < 0 && is.doji(a) && is.doji(b) && is.doji(d) && body_gap_down(b, a) &&
               body_gap_down(b, d);
    }
};

}  // namespace movlex::shapes
