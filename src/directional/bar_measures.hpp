// Per-bar measures shared by the directional and volatility indicators.
#pragma once

#include <cmath>

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

}  // namespace movlex
