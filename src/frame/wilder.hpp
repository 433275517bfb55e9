// Wilder's smoothing, in the two forms the indicators use.
#pragma once

namespace movlex {

// Running average: ((p - 1) * average + value) / p, in that order
// (RSI, CMO, ATR, NATR, ADX).
inline double wilder_average_step(double average, double period, double value) {
    return (average * (period - 1.0) + value) / period;
}

// Running sum that keeps (p - 1) / p of itself: (sum - sum / p) + value
// (directional movement, directional indicators, DX, ADX).
inline double wilder_sum_step(double sum, double period, double value) { return (sum - sum / period) + value; }

}  // namespace movlex
