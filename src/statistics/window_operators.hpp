// Operators over the window of the last `period` bars: its midpoint, sum,
// extremes and how many bars back each extreme lies.
#pragma once

#include <array>
#include <cstdint>
#include <utility>

#include "averages/price_channels.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "frame/window_moments.hpp"

namespace movlex {

inline constexpr std::array MIDPOINT_PARAMS{integer_param("period", 14, 2)};
inline constexpr std::array EXTREMES_PARAMS{integer_param("period", 30, 2)};
inline constexpr std::array ROLLING_SUM_PARAMS{integer_param("period", 30, 1)};

// The window's lowest and highest values and how many bars before the
// current one they lie (0 the current bar, period - 1 the oldest).
struct WindowRange {
    double lowest, highest, lowest_ago, highest_ago;
};

inline void report_midpoint(const WindowRange& r, double* out) { out[0] = (r.highest + r.lowest) / 2.0; }
inline void report_highest_ago(const WindowRange& r, double* out) { out[0] = r.highest_ago; }
inline void report_lowest_ago(const WindowRange& r, double* out) { out[0] = r.lowest_ago; }
inline void report_range(const WindowRange& r, double* out) {
    out[0] = r.lowest;
    out[1] = r.highest;
    out[2] = r.lowest_ago;
    out[3] = r.highest_ago;
}

// Both extremes of the input's window (the window extremes of MAX and MIN,
// the newest of equal values taken, so that a value and its bar agree), given
// to `report`.
template <int M, void (*report)(const WindowRange&, double*)>
class WindowExtremesKernel : public IdleWarmUpKernel<WindowExtremesKernel<M, report>> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = M;

    explicit WindowExtremesKernel(std::int32_t period)
        : IdleWarmUpKernel<WindowExtremesKernel>(Index{period} - 1), period_(period), lowest_(period), highest_(period) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const auto series = input_series(bars, 0);
        const double lowest = lowest_.advance(series, i);
        const double highest = highest_.advance(series, i);
        report(WindowRange{lowest, highest, static_cast<double>(i - lowest_.index()),
                           static_cast<double>(i - highest_.index())},
               out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(lowest_);
        archive(highest_);
        archive(this->warm_up_);
    }

private:
    Index period_;
    WindowExtreme<Lowest, RescanTies::take_newest> lowest_;
    WindowExtreme<Highest, RescanTies::take_newest> highest_;
};

using MidpointKernel = WindowExtremesKernel<1, report_midpoint>;
using HighestAgoKernel = WindowExtremesKernel<1, report_highest_ago>;
using LowestAgoKernel = WindowExtremesKernel<1, report_lowest_ago>;
using WindowRangeKernel = WindowExtremesKernel<4, report_range>;

// (highest high + lowest low) / 2 over the window.
class MidPriceKernel {
public:
    static constexpr int inputs = 2;  // high, low
    static constexpr int outputs = 1;

    explicit MidPriceKernel(std::int32_t period) : period_(period), window_(period) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!window_.step(bars, i)) return false;
        out[0] = window_.midpoint();
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        window_.advance(bars, i);
        out[0] = window_.midpoint();
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
    }

private:
    Index period_;
    HighLowWindow window_;
};

// The sum of the window's values, as an older run's sums from each bar to its
// end plus the newer run's (frame/window_moments.hpp): every sum is of values
// in the window, so its error is bounded by the window's values alone.
struct RollingSumReading {
    using Run = Sums;
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit RollingSumReading(std::int32_t) {}

    template <class Bars>
    static std::pair<double, double> pair(const Bars& bars, Index j) {
        return {bars(0, j), 0.0};
    }

    template <class Bars>
    void write(const Sums& sums, const WindowSums&, Index, const Bars&, double* out) const {
        out[0] = sums.a;
    }
};

using RollingSumKernel = WindowRunsKernel<RollingSumReading>;

template <class Kernel>
Kernel window_operator_kernel(const double* params, const UnstablePeriods&) {
    return Kernel(std::int32_t(params[0]));
}

}  // namespace movlex
