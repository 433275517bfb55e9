// One candle as the patterns see it: its prices and the averages of the
// candles before it, with the measures every pattern is written in.
#pragma once

#include "patterns/candle_settings.hpp"

namespace movlex {

struct Candle {
    double open, high, low, close;
    // Means over the `period` candles before this one: of the body, of the
    // high-low range and of the close.
    double body_average, range_average, close_average;

    double body() const { return close >= open ? close - open : open - close; }
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
};

// The settings table applied to candles.
struct Thresholds {
    CandleSettings s;

    bool long_body(const Candle& c) const { return c.body() > s.long_body * c.body_average; }
    bool short_body(const Candle& c) const { return c.body() <= s.short_body * c.body_average; }
    bool doji(const Candle& c) const { return c.body() <= s.doji_body * c.range_average; }
    // A small body that is not a doji's.
    bool small_body(const Candle& c) const { return short_body(c) && !doji(c); }
    bool very_short(double shadow, const Candle& c) const { return shadow <= s.very_short_shadow * c.range_average; }
    bool long_shadow(double shadow, const Candle& c) const {
        return shadow >= s.long_shadow * c.body() && !very_short(shadow, c);
    }
    // Prices compared on the scale of candle c.
    bool near(double a, double b, const Candle& c) const { return distance(a, b) <= s.prices_near * c.range_average; }
    bool far(double a, double b, const Candle& c) const { return distance(a, b) > s.prices_far * c.range_average; }
    bool equal(double a, double b, const Candle& c) const { return distance(a, b) <= s.prices_equal * c.range_average; }
    // Both shadows very short.
    bool shaven(const Candle& c) const { return very_short(c.upper_shadow(), c) && very_short(c.lower_shadow(), c); }

private:
    static double distance(double a, double b) { return a >= b ? a - b : b - a; }
};

}  // namespace movlex
