// One candle as the patterns see it: its prices and the averages of the
// candles before it, with the measures every pattern is written in.
#pragma once

#include <cmath>
#include <cstdint>

#include "patterns/candle_settings.hpp"

namespace movlex {

// What the settings table says of one candle against its own averages,
// judged once when the candle arrives and read by every pattern after. A
// sided trait has its upper form at bit n and its lower form at bit
// n + SIDE_SHIFT, so that turning the candle upside down swaps the two.
enum CandleTrait : std::uint32_t {
    LONG_BODY = 1u << 0,
    SHORT_BODY = 1u << 1,
    DOJI_BODY = 1u << 2,
    VERY_SHORT_UPPER = 1u << 3,  // upper shadow very short
    LONG_UPPER = 1u << 4,        // upper shadow long
    FAR_ABOVE = 1u << 5,         // high far above the body
    HIGH_NEAR_CLOSE = 1u << 6,
    VERY_SHORT_LOWER = 1u << 7,
    LONG_LOWER = 1u << 8,
    FAR_BELOW = 1u << 9,  // low far below the body
    LOW_NEAR_CLOSE = 1u << 10,
};
inline constexpr int SIDE_SHIFT = 4;
inline constexpr std::uint32_t UPPER_TRAITS = VERY_SHORT_UPPER | LONG_UPPER | FAR_ABOVE | HIGH_NEAR_CLOSE;
inline constexpr std::uint32_t LOWER_TRAITS = UPPER_TRAITS << SIDE_SHIFT;
static_assert(LOWER_TRAITS == (VERY_SHORT_LOWER | LONG_LOWER | FAR_BELOW | LOW_NEAR_CLOSE));

// The traits of the candle turned upside down (every price negated).
constexpr std::uint32_t mirrored_traits(std::uint32_t traits) {
    return (traits & ~(UPPER_TRAITS | LOWER_TRAITS)) | ((traits & UPPER_TRAITS) << SIDE_SHIFT) |
           ((traits & LOWER_TRAITS) >> SIDE_SHIFT);
}

// The length of a body: close - open and open - close are each other's exact
// negation, so this is the one of them that is not negative, found without
// a branch (a NaN may come out with the other sign, which no test sees).
inline double body_length(double open, double close) { return std::fabs(close - open); }

struct Candle {
    double open, high, low, close;
    // Means over the `period` candles before this one: of the body, of the
    // high-low range and of the close.
    double body_average, range_average, close_average;
    std::uint32_t traits;  // CandleTrait bits

    double body() const { return body_length(open, close); }
    double range() const { return high - low; }
    double top() const { return close >= open ? close : open; }
    double bottom() const { return close >= open ? open : close; }
    double middle() const { return (open + close) / 2.0; }
    double upper_shadow() const { return high - top(); }
    double lower_shadow() const { return bottom() - low; }
    bool white() const { return close > open; }
    bool black() const { return close < open; }
    // +1 white, -1 black, 0 when the close is the open.
    int colour() const { return white() ? 1 : black() ? -1 : 0; }
    bool has(std::uint32_t trait) const { return (traits & trait) != 0; }
};

// The candle upside down: every price negated, so that white and black, highs
// and lows, upper and lower shadows change places, and every measure (body,
// range, shadow lengths) is the same number.
inline Candle mirrored(const Candle& c) {
    return {-c.open,          -c.low,           -c.high, -c.close, c.body_average,
            c.range_average, -c.close_average, mirrored_traits(c.traits)};
}

// The settings table applied to candles.
struct Thresholds {
    CandleSettings s;

    // Judges a candle from its prices and averages (its traits field unread).
    // Every test is made and its bit set without a branch: on prices the
    // outcomes are close to random, and mispredicted jumps would cost more
    // than the tests.
    std::uint32_t traits(const Candle& c) const {
        const double body = c.body(), upper = c.upper_shadow(), lower = c.lower_shadow();
        const bool very_short_upper = upper <= s.very_short_shadow * c.range_average;
        const bool very_short_lower = lower <= s.very_short_shadow * c.range_average;
        return bit(body > s.long_body * c.body_average, LONG_BODY) |
               bit(body <= s.short_body * c.body_average, SHORT_BODY) |
               bit(body <= s.doji_body * c.range_average, DOJI_BODY) | bit(very_short_upper, VERY_SHORT_UPPER) |
               bit(very_short_lower, VERY_SHORT_LOWER) |
               bit((upper >= s.long_shadow * body) & !very_short_upper, LONG_UPPER) |
               bit((lower >= s.long_shadow * body) & !very_short_lower, LONG_LOWER) |
               bit(far(c.high, c.top(), c), FAR_ABOVE) | bit(far(c.bottom(), c.low, c), FAR_BELOW) |
               bit(near(c.high, c.close, c), HIGH_NEAR_CLOSE) | bit(near(c.low, c.close, c), LOW_NEAR_CLOSE);
    }

    bool long_body(const Candle& c) const { return c.has(LONG_BODY); }
    bool short_body(const Candle& c) const { return c.has(SHORT_BODY); }
    bool doji(const Candle& c) const { return c.has(DOJI_BODY); }
    // A small body that is not a doji's.
    bool small_body(const Candle& c) const { return (c.traits & (SHORT_BODY | DOJI_BODY)) == SHORT_BODY; }
    // A shadow no longer than very_short_shadow average ranges.
    bool very_short_upper(const Candle& c) const { return c.has(VERY_SHORT_UPPER); }
    bool very_short_lower(const Candle& c) const { return c.has(VERY_SHORT_LOWER); }
    // A shadow of long_shadow bodies or more that is not very short.
    bool long_upper(const Candle& c) const { return c.has(LONG_UPPER); }
    bool long_lower(const Candle& c) const { return c.has(LONG_LOWER); }
    // The high far above the body's top, the low far below its bottom.
    bool far_above(const Candle& c) const { return c.has(FAR_ABOVE); }
    bool far_below(const Candle& c) const { return c.has(FAR_BELOW); }
    bool closes_near_high(const Candle& c) const { return c.has(HIGH_NEAR_CLOSE); }
    // Both shadows very short.
    bool shaven(const Candle& c) const {
        return (c.traits & (VERY_SHORT_UPPER | VERY_SHORT_LOWER)) == (VERY_SHORT_UPPER | VERY_SHORT_LOWER);
    }

    // Prices compared on the scale of candle c.
    bool near(double a, double b, const Candle& c) const { return distance(a, b) <= s.prices_near * c.range_average; }
    bool far(double a, double b, const Candle& c) const { return distance(a, b) > s.prices_far * c.range_average; }
    bool equal(double a, double b, const Candle& c) const { return distance(a, b) <= s.prices_equal * c.range_average; }

private:
    static std::uint32_t bit(bool holds, CandleTrait trait) { return std::uint32_t(holds) * trait; }
    static double distance(double a, double b) { return a >= b ? a - b : b - a; }
};

}  // namespace movlex
