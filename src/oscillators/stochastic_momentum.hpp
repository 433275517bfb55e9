// The stochastic momentum index (William Blau): the distance of the close
// from the middle of the recent range, doubly smoothed, as a percentage of
// half the doubly smoothed range.
#pragma once

#include <array>
#include <cstdint>

#include "averages/selector.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

inline constexpr std::array SMI_PARAMS{integer_param("period", 5, 1), integer_param("smoothing", 20, 1),
                                       integer_param("double_smoothing", 5, 1)};

// Inputs high, low, close. Over the last `period` bars, hh the highest high
// and ll the lowest low: distance = close - (hh + ll) / 2, range = hh - ll.
// Each is smoothed by EMA(smoothing), then by EMA(double_smoothing), every
// EMA from its first input; smi = (100 * distance'') / (0.5 * range''), 0
// when range'' is 0.
class SmiKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    SmiKernel(std::int32_t period, std::int32_t smoothing, std::int32_t double_smoothing,
              const UnstablePeriods& unstable)
        : period_(period),
          highest_(period),
          lowest_(period),
          warm_up_(period - 1),
          distance_{ema(smoothing, unstable), ema(double_smoothing, unstable)},
          range_{ema(smoothing, unstable), ema(double_smoothing, unstable)} {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1 + distance_[0].lookback() + distance_[1].lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        const auto [distance, range] = measure(bars, i);
        double d1, d2, r1, r2;
        // Both sides warm up together; each is tested so that every value
        // used is seen to be set.
        const bool first_distance = distance_[0].push(i, distance, &d1);
        const bool first_range = range_[0].push(i, range, &r1);
        if (!first_distance || !first_range) return false;
        const bool second_distance = distance_[1].push(i, d1, &d2);
        const bool second_range = range_[1].push(i, r1, &r2);
        if (!second_distance || !second_range) return false;
        out[0] = index(d2, r2);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const auto [distance, range] = measure(bars, i);
        double d1, d2, r1, r2;
        distance_[0].push_steady(i, distance, &d1);
        range_[0].push_steady(i, range, &r1);
        distance_[1].push_steady(i, d1, &d2);
        range_[1].push_steady(i, r1, &r2);
        out[0] = index(d2, r2);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(highest_);
        archive(lowest_);
        archive(warm_up_);
        for (auto& stage : distance_) archive(stage);
        for (auto& stage : range_) archive(stage);
    }

private:
    using Ema = AverageStage<EmaKernel>;

    static Ema ema(std::int32_t period, const UnstablePeriods& unstable) {
        return average_stage(AverageKind<EmaKernel>{}, period, unstable, Feed::values);
    }

    struct Measures {
        double distance, range;
    };

    template <class Bars>
    Measures measure(const Bars& bars, Index i) {
        const double hh = highest_.advance(input_series(bars, 0), i);
        const double ll = lowest_.advance(input_series(bars, 1), i);
        return {bars(2, i) - (hh + ll) / 2.0, hh - ll};
    }

    static double index(double distance, double range) {
        const double half = 0.5 * range;
        return half == 0.0 ? 0.0 : (100.0 * distance) / half;
    }

    Index period_;
    WindowExtreme<Highest> highest_;
    WindowExtreme<Lowest> lowest_;
    WarmUp warm_up_;
    std::array<Ema, 2> distance_;
    std::array<Ema, 2> range_;
};

inline SmiKernel smi_kernel(const double* params, const UnstablePeriods& unstable) {
    return SmiKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]), unstable);
}

}  // namespace movlex
