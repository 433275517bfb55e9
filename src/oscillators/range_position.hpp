// Williams %R (WILLR) and Aroon (AROON): where a bar stands against the
// extremes of a sliding window.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "frame/bar_block.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "movlex.h"

namespace movlex {

// AROON shares the period of WILLR.
inline constexpr std::array WILLR_PARAMS{integer_param("period", 14, 2)};
inline constexpr auto& AROON_PARAMS = WILLR_PARAMS;

std::int32_t willr_lookback(std::int32_t period);
std::int32_t aroon_lookback(std::int32_t period);

// -100 * (highest - close) / (highest - lowest) over `period` bars, computed
// as a division by the range divided by -100; 0 when that is exactly 0.
// Inputs high, low, close. The rescan keeps the oldest of equal extremes,
// which only decides when the next one happens.
class WillrKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    explicit WillrKernel(std::int32_t period)
        : period_(period), lowest_(period), highest_(period), warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double lowest_low = lowest_.advance(input_series(bars, 1), i);
        const double highest_high = highest_.advance(input_series(bars, 0), i);
        out[0] = position(highest_high, lowest_low, bars(2, i));
    }

    // Both windows carried over the block, then the formula two bars at a
    // time in lanes.
    template <class Bars>
    Index steady_block(const Bars& bars, Index i, Index available, double* const* out) {
        const Index n = std::min(available, BAR_BLOCK);
        double lowest[BAR_BLOCK], highest[BAR_BLOCK], close[BAR_BLOCK];
        auto low = lowest_.carried();
        auto high = highest_.carried();
        for (Index j = 0; j < n; ++j) {
            lowest_.advance(input_series(bars, 1), i + j, low);
            highest_.advance(input_series(bars, 0), i + j, high);
            lowest[j] = low.value;
            highest[j] = high.value;
            close[j] = bars(2, i + j);
        }
        lowest_.keep(low);
        highest_.keep(high);
        over_pairs(n, [&]<class V>(Index j) {
            store_lanes(out[0] + j, position(load_lanes<V>(highest + j), load_lanes<V>(lowest + j), load_lanes<V>(close + j)));
        });
        return n;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(lowest_);
        archive(highest_);
        archive(warm_up_);
    }

private:
    // V is double or lanes of bars.
    template <class V>
    static V position(V highest_high, V lowest_low, V close) {
        const V scaled_range = (highest_high - lowest_low) / splat<V>(-100.0);
        return pick(scaled_range == splat<V>(0.0), splat<V>(0.0), (highest_high - close) / scaled_range);
    }

    Index period_;
    WindowExtreme<Lowest> lowest_;
    WindowExtreme<Highest> highest_;
    WarmUp warm_up_;
};

// Over the `period` + 1 bars ending today: 100 when the extreme is today's
// bar, 0 when it is the oldest; among equal extremes the newest bar counts.
// Inputs high, low; outputs down, up.
class AroonKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 2;

    explicit AroonKernel(std::int32_t period)
        : period_(period),
          factor_(100.0 / static_cast<double>(period)),
          lowest_(Index{period} + 1),
          highest_(Index{period} + 1),
          warm_up_(period) {}

    Index history() const { return period_ + 1; }
    Index lookback() const { return period_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        lowest_.advance(input_series(bars, 1), i);
        highest_.advance(input_series(bars, 0), i);
        out[1] = static_cast<double>(highest_.index() - i + period_) * factor_;
        out[0] = static_cast<double>(lowest_.index() - i + period_) * factor_;
    }

    // Both windows carried over the block; the outputs are stored once every
    // bar of the block is read.
    template <class Bars>
    Index steady_block(const Bars& bars, Index i, Index available, double* const* out) {
        const Index n = std::min(available, BAR_BLOCK);
        double down[BAR_BLOCK], up[BAR_BLOCK];
        auto low = lowest_.carried();
        auto high = highest_.carried();
        for (Index j = 0; j < n; ++j) {
            lowest_.advance(input_series(bars, 1), i + j, low);
            highest_.advance(input_series(bars, 0), i + j, high);
            up[j] = static_cast<double>(high.bar - (i + j) + period_) * factor_;
            down[j] = static_cast<double>(low.bar - (i + j) + period_) * factor_;
        }
        lowest_.keep(low);
        highest_.keep(high);
        std::copy_n(down, n, out[0]);
        std::copy_n(up, n, out[1]);
        return n;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(lowest_);
        archive(highest_);
        archive(warm_up_);
    }

private:
    Index period_;
    double factor_;
    WindowExtreme<Lowest, RescanTies::take_newest> lowest_;
    WindowExtreme<Highest, RescanTies::take_newest> highest_;
    WarmUp warm_up_;
};

// Aroon up less Aroon down.
class AroonOscillatorKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    explicit AroonOscillatorKernel(std::int32_t period) : aroon_(period) {}

    Index history() const { return aroon_.history(); }
    Index lookback() const { return aroon_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double both[2];
        if (!aroon_.step(bars, i, both)) return false;
        out[0] = both[1] - both[0];
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double both[2];
        aroon_.steady(bars, i, both);
        out[0] = both[1] - both[0];
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(aroon_);
    }

private:
    AroonKernel aroon_;
};

WillrKernel willr_kernel(const double* params, const UnstablePeriods& unstable);
AroonOscillatorKernel aroon_oscillator_kernel(const double* params, const UnstablePeriods& unstable);
AroonKernel aroon_kernel(const double* params, const UnstablePeriods& unstable);

// The windows' storage is taken only when there is something to compute.
template <>
inline constexpr EntryForm entry_form<&willr_kernel>{.memory = OnNoMemory::reports_empty,
                                                     .lookback_before_storage = &window_lookback};
template <>
inline constexpr EntryForm entry_form<&aroon_kernel>{.memory = OnNoMemory::reports_empty,
                                                     .lookback_before_storage = &window_before_lookback};

}  // namespace movlex
