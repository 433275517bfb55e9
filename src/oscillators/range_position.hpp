// Williams %R (WILLR) and Aroon (AROON): where a bar stands against the
// extremes of a sliding window.
#pragma once

#include <array>
#include <cstdint>

#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"
#include "movlex.h"

namespace movlex {

// AROON shares the period of WILLR.
inline constexpr std::array WILLR_PARAMS{integer_param("period", 14, 2)};
inline constexpr auto& AROON_PARAMS = WILLR_PARAMS;

// -100 * (highest - close) / (highest - lowest) over `period` bars, computed
// as a division by the range divided by -100; 0 when that is exactly 0.
// Inputs high, low, close. The rescan keeps the oldest of equal extremes,
// which only decides when the next one happens.
class WillrKernel : public IdleWarmUpKernel<WillrKernel> {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    explicit WillrKernel(std::int32_t period)
        : IdleWarmUpKernel(period - 1), lowest_(period), highest_(period) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double lowest_low = lowest_.advance(input_series(bars, 1), i);
        const double highest_high = highest_.advance(input_series(bars, 0), i);
        const double scaled_range = (highest_high - lowest_low) / -100.0;
        out[0] = scaled_range == 0.0 ? 0.0 : (highest_high - bars(2, i)) / scaled_range;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(lowest_);
        archive(highest_);
        archive(warm_up_);
    }

private:
    WindowExtreme<Lowest> lowest_;
    WindowExtreme<Highest> highest_;
};

// Over the `period` + 1 bars ending today (the lookback is the period): 100
// when the extreme is today's bar, 0 when it is the oldest; among equal
// extremes the newest bar counts. Inputs high, low; outputs down, up.
class AroonKernel : public IdleWarmUpKernel<AroonKernel> {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 2;

    explicit AroonKernel(std::int32_t period)
        : IdleWarmUpKernel(period),
          factor_(100.0 / static_cast<double>(period)),
          lowest_(Index{period} + 1),
          highest_(Index{period} + 1) {}

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        lowest_.advance(input_series(bars, 1), i);
        highest_.advance(input_series(bars, 0), i);
        out[1] = static_cast<double>(highest_.index() - i + lookback_) * factor_;
        out[0] = static_cast<double>(lowest_.index() - i + lookback_) * factor_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(lowest_);
        archive(highest_);
        archive(warm_up_);
    }

private:
    double factor_;
    WindowExtreme<Lowest, RescanTies::take_newest> lowest_;
    WindowExtreme<Highest, RescanTies::take_newest> highest_;
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
