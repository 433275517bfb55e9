// Trend strength: the directional movement index DX, its Wilder average ADX,
// and the ADX rating ADXR.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "directional/directional_smoother.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/wilder.hpp"
#include "movlex.h"

namespace movlex {

// ADX and ADXR share the period of DX.
inline constexpr std::array DX_PARAMS{integer_param("period", 14, 2)};
inline constexpr auto& ADX_PARAMS = DX_PARAMS;
inline constexpr auto& ADXR_PARAMS = DX_PARAMS;

// DX: both sides and the range smoothed at once. Its first output comes one
// smoothing step past the seed, plus `unstable`; a bar without DX repeats the
// previous output (0 for the first).
template <class V = double>
class DxKernelOf : public PeriodUnstableKernel<DxKernelOf<V>> {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    DxKernelOf(std::int32_t period, std::int32_t unstable)
        : PeriodUnstableKernel<DxKernelOf>(period, unstable, Index{period} + unstable), sums_(period) {}

    // The same kernel over values of type U.
    template <class U>
    using Of = DxKernelOf<U>;

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        const bool warming = this->warm_up_.consume();
        directional::BarMeasures<V> bar;
        if (!reader_.step(bars, i, bar)) return false;
        sums_.add(bar);
        if (warming) return false;
        sums_.index(dx_);
        out[0] = dx_;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        sums_.smooth(reader_.next(bars, i));
        sums_.index(dx_);
        out[0] = dx_;
    }

    // The batch path: the indices two bars at a time, then the repeats.
    template <int N>
    Index steady_block(const PointerBars<N>& bars, Index i, Index count, double* const* out)
        requires std::is_same_v<V, double>
    {
        directional::index_run(reader_, sums_, bars, i, count, [&](Index j, bool has_index, double index) {
            if (has_index) dx_ = index;
            out[0][j] = dx_;
        });
        return count;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(reader_);
        archive(sums_);
        archive(dx_);
        archive(this->warm_up_);
    }

private:
    directional::BarReader<true, V> reader_;
    directional::DirectionalSums<true, V> sums_;
    V dx_{};
};

using DxKernel = DxKernelOf<>;

// ADX: the Wilder average of DX, seeded with the plain mean of the DX of the
// period bars after the smoothing seed (a bar without DX adds nothing but
// counts) and left as it is on a bar without DX. Its first output comes
// `unstable` bars after that mean.
template <class V = double>
class AdxKernelOf : public PeriodUnstableKernel<AdxKernelOf<V>> {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    AdxKernelOf(std::int32_t period, std::int32_t unstable)
        : PeriodUnstableKernel<AdxKernelOf>(period, unstable, 2 * Index{period} - 1 + unstable),
          sums_(period),
          average_(period) {}

    // The same kernel over values of type U.
    template <class U>
    using Of = AdxKernelOf<U>;

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        const bool warming = this->warm_up_.consume();
        directional::BarMeasures<V> bar;
        if (!reader_.step(bars, i, bar)) return false;
        if (sums_.add(bar)) {
            V dx{};
            const auto has_dx = sums_.index(dx);
            average_.add_where(has_dx, dx);
        }
        if (warming) return false;
        out[0] = average_.value();
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        sums_.smooth(reader_.next(bars, i));
        V dx{};
        const auto has_dx = sums_.index(dx);
        average_.smooth_where(has_dx, dx);
        out[0] = average_.value();
    }

    // The batch path: each(j, adx) with the ADX of bar i + j of bars
    // i .. i + count - 1, in order.
    template <int N, class Each>
    void steady_run(const PointerBars<N>& bars, Index i, Index count, Each&& each)
        requires std::is_same_v<V, double>
    {
        directional::index_run(reader_, sums_, bars, i, count, [&](Index j, bool has_dx, double dx) {
            average_.smooth_where(has_dx, dx);
            each(j, average_.value());
        });
    }

    template <int N>
    Index steady_block(const PointerBars<N>& bars, Index i, Index count, double* const* out)
        requires std::is_same_v<V, double>
    {
        steady_run(bars, i, count, [&](Index j, double adx) { out[0][j] = adx; });
        return count;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(reader_);
        archive(sums_);
        archive(average_);
        archive(this->warm_up_);
    }

private:
    directional::BarReader<true, V> reader_;
    directional::DirectionalSums<true, V> sums_;
    WilderAverage<V> average_;
};

using AdxKernel = AdxKernelOf<>;

// ADXR: the mean of the current ADX and the ADX period - 1 bars earlier, both
// from one ADX run, so the first output comes period - 1 bars after the ADX's.
template <class V = double>
class AdxrKernelOf {
public:
    static constexpr int inputs = 3;
    static constexpr int outputs = 1;

    AdxrKernelOf(std::int32_t period, std::int32_t unstable)
        : period_(period), unstable_(unstable), gap_(period - 1), adx_(period, unstable), recent_(period), warm_up_(gap_) {}

    // A fresh kernel with the same parameters over values of type U.
    template <class U>
    AdxrKernelOf<U> retyped() const {
        return {period_, unstable_};
    }

    Index history() const { return 1; }
    Index lookback() const { return adx_.lookback() + gap_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        V adx;
        if (!adx_.step(bars, i, &adx)) return false;
        const RingBars<1, V>& recent = recent_.push(i, adx);
        if (warm_up_.consume()) return false;
        out[0] = (recent(0, i - gap_) + adx) * 0.5;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        V adx;
        adx_.steady(bars, i, &adx);
        out[0] = (recent_.push(i, adx)(0, i - gap_) + adx) * 0.5;
    }

    // The batch path: the ADX run of AdxKernelOf, then the means.
    template <int N>
    Index steady_block(const PointerBars<N>& bars, Index i, Index count, double* const* out)
        requires std::is_same_v<V, double>
    {
        adx_.steady_run(bars, i, count, [&](Index j, double adx) {
            out[0][j] = (recent_.push(i + j, adx)(0, i + j - gap_) + adx) * 0.5;
        });
        return count;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(adx_);
        archive(recent_);
        archive(warm_up_);
    }

private:
    std::int32_t period_;
    std::int32_t unstable_;
    Index gap_;
    AdxKernelOf<V> adx_;
    DerivedSeriesOf<V> recent_;
    WarmUp warm_up_;
};

using AdxrKernel = AdxrKernelOf<>;

DxKernel dx_kernel(const double* params, const UnstablePeriods& unstable);
AdxKernel adx_kernel(const double* params, const UnstablePeriods& unstable);
AdxrKernel adxr_kernel(const double* params, const UnstablePeriods& unstable);

// The ring of the last period ADX values is the only memory ADXR takes, and
// only when there is something to compute; when it cannot be had the entry
// fails with nothing written.
Index adxr_range_lookback(const double* params, const UnstablePeriods& unstable);
template <>
inline constexpr EntryForm entry_form<&adxr_kernel>{.memory = OnNoMemory::leaves_outputs,
                                                    .lookback_before_storage = &adxr_range_lookback};

}  // namespace movlex
