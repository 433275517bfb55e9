// Choppiness index: how much of the path the bars' true ranges travel lies
// within the window's range, on a log scale from 0 (one straight move) to
// 100 (every bar spanning the whole range).
#pragma once

#include <array>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/derived_window.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

inline constexpr std::array CHOP_PARAMS{integer_param("period", 14, 2)};

// Inputs high, low, close. (100 * log(sum of TR / (highest high - lowest
// low))) / log(n) over the last n bars; 0 where the range is not positive.
class ChopKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    explicit ChopKernel(std::int32_t period);

    Index history() const { return period_; }  // the window's highs and lows
    Index lookback() const { return period_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        Sums ranges;
        if (!ranges_.push(i, range_of(bars, i), 0.0, ranges)) return false;
        out[0] = index(bars, i, ranges.a);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = index(bars, i, ranges_.next(i, range_of(bars, i), 0.0).a);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ranges_);
        archive(highest_);
        archive(lowest_);
        archive(warm_up_);
    }

private:
    template <class Bars>
    static double range_of(const Bars& bars, Index i) {
        return true_range(bars(0, i), bars(1, i), bars(2, i - 1));
    }

    template <class Bars>
    double index(const Bars& bars, Index i, double path) {
        const double span = highest_.advance(input_series(bars, 0), i) - lowest_.advance(input_series(bars, 1), i);
        return span > 0.0 ? scaled(path / span) : 0.0;
    }
    double scaled(double ratio) const;

    Index period_;
    double log_period_;
    DerivedWindow<Sums> ranges_;
    WindowExtreme<Highest> highest_;
    WindowExtreme<Lowest> lowest_;
    WarmUp warm_up_;
};

ChopKernel chop_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
