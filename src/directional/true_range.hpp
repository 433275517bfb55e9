// True range, its Wilder average (ATR) and that average in percent of each
// bar's close (NATR).
#pragma once

#include <array>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/wilder.hpp"
#include "movlex.h"

namespace movlex {

// NATR shares the period of ATR.
inline constexpr std::array ATR_PARAMS{integer_param("period", 14, 1)};
inline constexpr auto& NATR_PARAMS = ATR_PARAMS;

// The true range of every bar after the first, over high, low and close.
class TrueRangeKernel {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    Index history() const { return 1; }
    Index lookback() const { return 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double range;
        if (!ranges_.step(bars, i, range)) return false;
        out[0] = range;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        out[0] = ranges_.next(bars, i);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ranges_);
    }

private:
    TrueRanges<> ranges_;
};

// ATR, or NATR when normalised: Wilder's average of the true ranges, seeded
// with the mean of the first period of them, its first output `unstable`
// bars after the seed. Period 1 reports each bar's own true range,
// unsmoothed, from bar 1 + unstable on. NATR divides each value by its bar's
// close and reports it in percent, or 0 for a close within 1e-8 of zero.
template <bool normalised, class V = double>
class AverageTrueRangeKernel : public PeriodUnstableKernel<AverageTrueRangeKernel<normalised, V>> {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    AverageTrueRangeKernel(std::int32_t period, std::int32_t unstable)
        : PeriodUnstableKernel<AverageTrueRangeKernel>(period, unstable, Index{period} + unstable),
          smoothed_(period > 1),
          average_(period) {}

    // The same kernel over values of type U.
    template <class U>
    using Of = AverageTrueRangeKernel<normalised, U>;

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        const bool warming = this->warm_up_.consume();
        V range;
        if (!ranges_.step(bars, i, range)) return false;
        if (smoothed_) average_.add(range);
        if (warming) return false;
        out[0] = finish(smoothed_ ? average_.value() : range, bars, i);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        const V range = ranges_.next(bars, i);
        if (!smoothed_) {
            out[0] = finish(range, bars, i);
            return;
        }
        average_.smooth(range);
        out[0] = finish(average_.value(), bars, i);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ranges_);
        archive(average_);
        archive(this->warm_up_);
    }

private:
    template <class Bars>
    static V finish(V value, const Bars& bars, Index i) {
        if constexpr (normalised) return percent_of(value, bars(input::close, i));
        return value;
    }

    bool smoothed_;
    TrueRanges<V> ranges_;
    WilderAverage<V> average_;
};

using AtrKernel = AverageTrueRangeKernel<false>;
using NatrKernel = AverageTrueRangeKernel<true>;

TrueRangeKernel trange_kernel(const double* params, const UnstablePeriods& unstable);
AtrKernel atr_kernel(const double* params, const UnstablePeriods& unstable);
NatrKernel natr_kernel(const double* params, const UnstablePeriods& unstable);

// Their entries report an empty result before they look at the range.
template <>
inline constexpr EntryForm entry_form<&atr_kernel>{.clears_outputs = true};
template <>
inline constexpr EntryForm entry_form<&natr_kernel> = entry_form<&atr_kernel>;

}  // namespace movlex
