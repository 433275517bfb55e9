// Per-bar measures shared by the directional and volatility indicators.
#pragma once

#include "frame/contract.hpp"
#include "frame/lanes.hpp"

namespace movlex {

// True range of a bar against the previous close. The first candidate is
// high - low as it stands (negative for a bar whose high lies below its low);
// a later candidate replaces it only when strictly greater, so a NaN
// candidate never does.
template <class V>
inline V true_range(V high, V low, V previous_close) {
    V range = high - low;
    const V above = magnitude(high - previous_close);
    range = pick(above > range, above, range);
    const V below = magnitude(low - previous_close);
    range = pick(below > range, below, range);
    return range;
}

// One-bar directional movement: the up move (high - previous high) or the
// down move (previous low - low), credited to the side that is positive and
// strictly larger; equal moves credit neither side.
template <class V = double>
struct DirectionalMovement {
    V plus;
    V minus;
};

template <class V>
inline DirectionalMovement<V> directional_movement(V high, V low, V previous_high, V previous_low) {
    const V up = high - previous_high;
    const V down = previous_low - low;
    return {pick(up > 0.0 && up > down, up, V{}), pick(down > 0.0 && down > up, down, V{})};
}

// -1e-8 < value < 1e-8, both bounds strict.
template <class V>
inline auto inside_near_zero_band(V value) {
    return -1e-8 < value && value < 1e-8;
}

// part as a percentage of whole, 0 when the whole is near zero.
template <class V>
inline V percent_of(V part, V whole) {
    return pick(inside_near_zero_band(whole), V{}, (part / whole) * 100.0);
}

// Positions of the bar series in a kernel's inputs (high, low[, close]).
namespace input {
inline constexpr int high = 0;
inline constexpr int low = 1;
inline constexpr int close = 2;
}  // namespace input

// The true ranges of successive bars of (high, low, close) inputs. The first
// bar fed has none and only lends its close; every bar's inputs are read
// once and the previous close is carried over.
template <class V = double>
class TrueRanges {
public:
    // Consumes bar i; true with its true range in range, false for the first bar.
    template <class Bars>
    bool step(const Bars& bars, Index i, V& range) {
        if (!started_) {
            previous_close_ = bars(input::close, i);
            started_ = true;
            return false;
        }
        range = next(bars, i);
        return true;
    }

    // The true range of bar i, once the first bar has been fed.
    template <class Bars>
    V next(const Bars& bars, Index i) {
        const V range = true_range(bars(input::high, i), bars(input::low, i), previous_close_);
        previous_close_ = bars(input::close, i);
        return range;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(started_);
        archive(previous_close_);
    }

private:
    bool started_ = false;
    V previous_close_{};
};

}  // namespace movlex
