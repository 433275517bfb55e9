// Channels drawn around the price: Donchian's (the window's extremes),
// Keltner's (an EMA with bands at a multiple of the ATR) and the chandelier
// exit (stops hung a multiple of the ATR from the window's extremes).
#pragma once

#include <array>
#include <cstdint>

#include "averages/exponential.hpp"
#include "directional/true_range.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/window_extreme.hpp"

namespace movlex {

inline constexpr std::array DONCHIAN_PARAMS{integer_param("period", 20, 1)};
inline constexpr std::array KELTNER_PARAMS{integer_param("period", 20, 2), integer_param("atr_period", 10, 1),
                                           real_param("multiplier", 2.0, 0.0)};
inline constexpr std::array CHANDELIER_PARAMS{integer_param("period", 22, 1), real_param("multiplier", 3.0, 0.0)};

// The highest high and the lowest low of the last `length` bars of (high,
// low, ...) inputs, from the first full window on.
class HighLowWindow {
public:
    HighLowWindow() = default;
    explicit HighLowWindow(std::int32_t length) : highest_(length), lowest_(length), warm_up_(Index{length} - 1) {}

    // Consumes bar i; true once the window is full.
    template <class Bars>
    bool step(const Bars& bars, Index i) {
        if (warm_up_.consume()) return false;
        advance(bars, i);
        return true;
    }

    template <class Bars>
    void advance(const Bars& bars, Index i) {
        highest_.advance(input_series(bars, input::high), i);
        lowest_.advance(input_series(bars, input::low), i);
    }

    double highest() const { return highest_.value(); }
    double lowest() const { return lowest_.value(); }
    double midpoint() const { return (highest() + lowest()) / 2.0; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(highest_);
        archive(lowest_);
        archive(warm_up_);
    }

private:
    WindowExtreme<Highest> highest_;
    WindowExtreme<Lowest> lowest_;
    WarmUp warm_up_;
};

// Upper, middle and lower: the highest high, the midpoint, the lowest low.
class DonchianKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 3;

    explicit DonchianKernel(std::int32_t period) : period_(period), window_(period) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!window_.step(bars, i)) return false;
        report(out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        window_.advance(bars, i);
        report(out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
    }

private:
    void report(double* out) const {
        out[0] = window_.highest();
        out[1] = window_.midpoint();
        out[2] = window_.lowest();
    }

    Index period_;
    HighLowWindow window_;
};

// Upper, middle and lower: EMA(period) of the close, plus and minus
// multiplier * ATR(atr_period). Both averages start at the first bar; the
// first output comes when the later of the two has its first value.
class KeltnerKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 3;

    KeltnerKernel(std::int32_t period, std::int32_t atr_period, double multiplier, std::int32_t ema_unstable,
                  std::int32_t atr_unstable)
        : middle_(period, ema_smoothing_factor(period), ema_unstable),
          range_(atr_period, atr_unstable),
          multiplier_(multiplier) {}

    Index history() const { return 1; }
    Index lookback() const { return std::max(middle_.lookback(), range_.lookback()); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double middle, range;
        const bool has_middle = middle_.step(ValueBars{bars(input::close, i)}, i, &middle);
        if (!range_.step(bars, i, &range) || !has_middle) return false;
        report(middle, range, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double middle, range;
        middle_.steady(ValueBars{bars(input::close, i)}, i, &middle);
        range_.steady(bars, i, &range);
        report(middle, range, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(middle_);
        archive(range_);
    }

private:
    void report(double middle, double range, double* out) const {
        const double band = multiplier_ * range;
        out[0] = middle + band;
        out[1] = middle;
        out[2] = middle - band;
    }

    EmaKernel middle_;
    AtrKernel range_;
    double multiplier_;
};

// Long and short stops: the highest high less multiplier * ATR, and the
// lowest low plus it, window and ATR over the same period.
class ChandelierKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 2;

    ChandelierKernel(std::int32_t period, double multiplier, std::int32_t atr_unstable)
        : period_(period), window_(period), range_(period, atr_unstable), multiplier_(multiplier) {}

    Index history() const { return period_; }
    Index lookback() const { return range_.lookback(); }  // past the window's period - 1

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const bool has_window = window_.step(bars, i);
        double range;
        if (!range_.step(bars, i, &range) || !has_window) return false;
        report(range, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        window_.advance(bars, i);
        double range;
        range_.steady(bars, i, &range);
        report(range, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
        archive(range_);
    }

private:
    void report(double range, double* out) const {
        const double distance = multiplier_ * range;
        out[0] = window_.highest() - distance;
        out[1] = window_.lowest() + distance;
    }

    Index period_;
    HighLowWindow window_;
    AtrKernel range_;
    double multiplier_;
};

DonchianKernel donchian_kernel(const double* params, const UnstablePeriods& unstable);
KeltnerKernel keltner_kernel(const double* params, const UnstablePeriods& unstable);
ChandelierKernel chandelier_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
