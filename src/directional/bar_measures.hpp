// Per-bar measures shared by the directional and volatility indicators.
#pragma once

#include <cmath>

#include "frame/contract.hpp"

namespace movlex {

// True range of a bar against the previous close. The first candidate is
// high - low as it stands (negative for a bar whose high lies below its low);
// a later candidate replaces it only when strictly greater, so a NaN
// candidate never does.
inline double true_range(double high, double low, double previous_close) {
    double range = high - low;
    const double above = std::fabs(high - previous_close);
    if (above > range) range = above;
    const double below = std::fabs(low - previous_close);
    if (below > range) range = below;
    return range;
}

// One-bar directional movement: the up move (high - previous high) or the
// down move (previous low - low), credited to the side that is positive and
// strictly larger; equal moves credit neither side.
struct DirectionalMovement {
    double plus;
    double minus;
};

inline DirectionalMovement directional_movement(double high, double low, double previous_high, double previous_low) {
    const double up = high - previous_high;
    const double down = previous_low - low;
    return {(up > 0 && up > down) ? up : 0.0, (down > 0 && down > up) ? down : 0.0};
}

// -1e-8 < value < 1e-8, both bounds strict.
inline bool inside_near_zero_band(double value) { return -1e-8 < value && value < 1e-8; }

// part as a percentage of whole, 0 when the whole is near zero.
inline double percent_of(double part, double whole) {
    return inside_near_zero_band(whole) ? 0.0 : (part / whole) * 100.0;
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
class TrueRanges {
public:
    // Consumes bar i; true with its true range in range, false for the first bar.
    template <class Bars>
    bool step(const Bars& bars, Index i, double& range) {
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
    double next(const Bars& bars, Index i) {
        const double range = true_range(bars(input::high, i), bars(input::low, i), previous_close_);
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
    double previous_close_ = 0.0;
};

}  // namespace movlex
