// How directly the price has moved over a window: the net change, or the
// range of the closes, against the path, the sum of the absolute one-bar
// changes in the window.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

#include "frame/derived_window.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

inline constexpr std::array ER_PARAMS{integer_param("period", 10, 1)};
inline constexpr std::array VHF_PARAMS{integer_param("period", 28, 2)};

// Kaufman's travel: the net change over the window's n changes, |x[t] - x[t - n]|.
class NetChange {
public:
    explicit NetChange(Index length) : length_(length) {}
    template <class Bars>
    double travel(const Bars& bars, Index i) {
        return std::fabs(bars(0, i) - bars(0, i - length_));
    }
    template <class Archive>
    void visit(Archive&) {}

private:
    Index length_;
};

// White's travel: highest - lowest of the last n values.
class ValueRange {
public:
    explicit ValueRange(Index length) : highest_(length), lowest_(length) {}
    template <class Bars>
    double travel(const Bars& bars, Index i) {
        const auto series = input_series(bars, 0);
        return highest_.advance(series, i) - lowest_.advance(series, i);
    }
    template <class Archive>
    void visit(Archive& archive) {
        archive(highest_);
        archive(lowest_);
    }

private:
    WindowExtreme<Highest> highest_;
    WindowExtreme<Lowest> lowest_;
};

// travel / path; 0 where the path is 0.
template <class Travel>
class PathRatioKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    explicit PathRatioKernel(std::int32_t period)
        : period_(period), travel_(period), path_(period), warm_up_(1) {}

    Index history() const { return period_ + 1; }
    Index lookback() const { return period_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        Sums path;
        if (!path_.push(i, change(bars, i), 0.0, path)) return false;
        out[0] = ratio(bars, i, path.a);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = ratio(bars, i, path_.next(i, change(bars, i), 0.0).a);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(travel_);
        archive(path_);
        archive(warm_up_);
    }

private:
    template <class Bars>
    static double change(const Bars& bars, Index i) {
        return std::fabs(bars(0, i) - bars(0, i - 1));
    }

    template <class Bars>
    double ratio(const Bars& bars, Index i, double path) {
        const double travel = travel_.travel(bars, i);
        return path == 0.0 ? 0.0 : travel / path;
    }

    Index period_;
    Travel travel_;
    DerivedWindow<Sums> path_;
    WarmUp warm_up_;
};

inline PathRatioKernel<NetChange> er_kernel(const double* params, const UnstablePeriods&) {
    return PathRatioKernel<NetChange>(std::int32_t(params[0]));
}
inline PathRatioKernel<ValueRange> vhf_kernel(const double* params, const UnstablePeriods&) {
    return PathRatioKernel<ValueRange>(std::int32_t(params[0]));
}

}  // namespace movlex
