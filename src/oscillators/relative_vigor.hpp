// The relative vigor index (John Ehlers): how far the close has come from the
// open, against the bar's range, both weighted over four bars and summed over
// a window, with a signal line that weights the index itself the same way.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "frame/window_sum.hpp"

namespace movlex {

inline constexpr std::array RVI_PARAMS{integer_param("period", 10, 1)};

// The 4-bar symmetric weighting 1-2-2-1 of series(i) back to series(i - 3):
// (((series(i) + 2 series(i - 1)) + 2 series(i - 2)) + series(i - 3)) / 6.
template <class Series>
double symmetric_weighting(const Series& series, Index i) {
    return (((series(i) + 2.0 * series(i - 1)) + 2.0 * series(i - 2)) + series(i - 3)) / 6.0;
}

// Inputs open, high, low, close; outputs rvi, signal. From the fourth bar,
// the weighted close - open and high - low, each summed over `period` bars;
// rvi = sum(close - open) / sum(high - low), 0 when the range's sum is 0;
// signal the weighting of the last four rvi values.
class RviKernel {
public:
    static constexpr int inputs = 4;
    static constexpr int outputs = 2;

    explicit RviKernel(std::int32_t period)
        : period_(period), movement_(period), range_(period), index_(4), warm_up_(3), signal_warm_up_(3) {}

    Index history() const { return 4; }
    Index lookback() const { return 3 + (period_ - 1) + 3; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        double movement = 0.0, range = 0.0;
        const bool summed = movement_.push(i, symmetric_weighting(body(bars), i), &movement);
        range_.push(i, symmetric_weighting(span(bars), i), &range);
        if (!summed) return false;
        const RingBars<1>& index = index_.push(i, ratio(movement, range));
        if (signal_warm_up_.consume()) return false;
        write(index, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double movement = 0.0, range = 0.0;
        movement_.push(i, symmetric_weighting(body(bars), i), &movement);
        range_.push(i, symmetric_weighting(span(bars), i), &range);
        write(index_.push(i, ratio(movement, range)), i, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(movement_);
        archive(range_);
        archive(index_);
        archive(warm_up_);
        archive(signal_warm_up_);
    }

private:
    template <class Bars>
    static auto body(const Bars& bars) {
        return [&bars](Index j) { return bars(3, j) - bars(0, j); };
    }
    template <class Bars>
    static auto span(const Bars& bars) {
        return [&bars](Index j) { return bars(1, j) - bars(2, j); };
    }
    static double ratio(double movement, double range) { return range == 0.0 ? 0.0 : movement / range; }

    static void write(const RingBars<1>& index, Index i, double* out) {
        out[0] = index(0, i);
        out[1] = symmetric_weighting(input_series(index, 0), i);
    }

    Index period_;
    WindowSum movement_;
    WindowSum range_;
    DerivedSeries index_;
    WarmUp warm_up_;
    WarmUp signal_warm_up_;
};

inline RviKernel rvi_kernel(const double* params, const UnstablePeriods&) { return RviKernel(std::int32_t(params[0])); }

}  // namespace movlex
