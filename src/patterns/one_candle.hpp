// Shapes of one candle (docs/patterns.md, "One candle").
#pragma once

#include "patterns/pattern_forms.hpp"

namespace movlex::shapes {

struct Doji {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        return is.doji(c[0]) && c[0].range() > 0.0;
    }
};

struct LongLeggedDoji {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, DOJI_BODY | FAR_ABOVE | FAR_BELOW);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return Doji::test(c, is) && is.far_above(k) && is.far_below(k);
    }
};

struct RickshawMan {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, DOJI_BODY | FAR_ABOVE | FAR_BELOW);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return LongLeggedDoji::test(c, is) && is.near(k.middle(), (k.high + k.low) / 2.0, k);
    }
};

struct DragonflyDoji {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, DOJI_BODY | VERY_SHORT_UPPER | LONG_LOWER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return is.doji(k) && is.very_short_upper(k) && is.long_lower(k);
    }
};

// The dragonfly's mirror image, in either trend (so not by MirrorOf, which
// would also turn the trend).
struct GravestoneDoji {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, DOJI_BODY | VERY_SHORT_LOWER | LONG_UPPER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return is.doji(k) && is.very_short_lower(k) && is.long_upper(k);
    }
};

// A small body at the top of the range after a fall, the lower shadow at
// least long_shadow times the body, almost no upper shadow. Mirrored: the
// shooting star.
struct Hammer {
    static constexpr int candles = 1;
    static constexpr Needs needs =
        Needs{}.has(0, AFTER_FALL | SHORT_BODY | LONG_LOWER | VERY_SHORT_UPPER)
            .lacks(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return c.trend(1) < 0 && is.small_body(k) && is.long_lower(k) &&
               is.very_short_upper(k);
    }
};

// A small body at the bottom of the range after a fall, a long upper shadow.
// Mirrored: the hanging man.
struct InvertedHammer {
    static constexpr int candles = 1;
    static constexpr Needs needs =
        Needs{}.has(0, AFTER_FALL | SHORT_BODY | LONG_UPPER | VERY_SHORT_LOWER)
            .lacks(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return c.trend(1) < 0 && is.small_body(k) && is.long_upper(k) &&
               is.very_short_lower(k);
    }
};

// A hammer (or dragonfly) whose lower shadow is at least one and a half long
// shadows (three bodies by default) and far below the body.
struct Takuri {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, AFTER_FALL | SHORT_BODY | VERY_SHORT_UPPER | FAR_BELOW);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        const double lower = k.lower_shadow();
        return c.trend(1) < 0 && is.short_body(k) && is.very_short_upper(k) &&
               lower >= 1.5 * is.s.long_shadow * k.body() && is.far_below(k);
    }
};

struct Marubozu {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, WHITE | LONG_BODY | VERY_SHORT_UPPER | VERY_SHORT_LOWER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return k.white() && is.long_body(k) && is.shaven(k);
    }
};

// No shadow at the close's end, a shadow at the open's end.
struct ClosingMarubozu {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, WHITE | LONG_BODY | VERY_SHORT_UPPER).lacks(0, VERY_SHORT_LOWER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return k.white() && is.long_body(k) && is.very_short_upper(k) &&
               !is.very_short_lower(k);
    }
};

// No shadow at the open's end, a shadow at the close's end.
struct OpeningMarubozu {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, WHITE | LONG_BODY | VERY_SHORT_LOWER).lacks(0, VERY_SHORT_UPPER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return k.white() && is.long_body(k) && is.very_short_lower(k) &&
               !is.very_short_upper(k);
    }
};

struct SpinningTop {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, SHORT_BODY).lacks(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return is.small_body(k) && k.upper_shadow() > k.body() && k.lower_shadow() > k.body();
    }
};

struct HighWave {
    static constexpr int candles = 1;
    static constexpr Needs needs =
        Needs{}.has(0, SHORT_BODY | LONG_UPPER | LONG_LOWER | FAR_ABOVE | FAR_BELOW)
            .lacks(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return is.small_body(k) && is.long_upper(k) && is.long_lower(k) &&
               is.far_above(k) && is.far_below(k);
    }
};

struct LongLine {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, WHITE | LONG_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return k.white() && is.long_body(k) && k.upper_shadow() < k.body() && k.lower_shadow() < k.body();
    }
};

struct ShortLine {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, WHITE | SHORT_BODY).lacks(0, DOJI_BODY);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return k.white() && is.small_body(k) && k.upper_shadow() < k.body() && k.lower_shadow() < k.body();
    }
};

// A long white candle opening at its low after a fall.
struct BeltHold {
    static constexpr int candles = 1;
    static constexpr Needs needs = Needs{}.has(0, AFTER_FALL | WHITE | LONG_BODY | VERY_SHORT_LOWER);
    template <class C>
    static int test(const C& c, const Thresholds& is) {
        const Candle &k = c[0];
        return c.trend(1) < 0 && k.white() && is.long_body(k) && is.very_short_lower(k);
    }
};

}  // namespace movlex::shapes
