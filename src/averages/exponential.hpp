// Exponential family: EMA, DEMA and TEMA over one exponential core.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/lanes.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

// DEMA and TEMA share the period of EMA.
inline constexpr std::array EMA_PARAMS{integer_param("period", 30, 2)};
inline constexpr auto& DEMA_PARAMS = EMA_PARAMS;
inline constexpr auto& TEMA_PARAMS = EMA_PARAMS;

// One step: difference, then the product with k, then the sum.
template <class V>
inline V ema_step(V average, V value, V k) {
    return average + (value - average) * k;
}

inline double ema_smoothing_factor(std::int32_t period) { return 2.0 / static_cast<double>(period + 1); }

// Seeded with the mean of its first period values, then stepped; its first
// output comes `unstable` bars after the seed.
template <class V = double>
class EmaKernelOf {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    EmaKernelOf(std::int32_t period, double k, std::int32_t unstable)
        : period_(period),
          unstable_(unstable),
          k_scalar_(k),
          k_(splat<V>(k)),
          seeding_(period),
          warm_up_(Index{period} - 1 + unstable) {}

    // A fresh kernel with the same parameters over values of type U.
    template <class U>
    EmaKernelOf<U> retyped() const {
        return {std::int32_t(period_), k_scalar_, std::int32_t(unstable_)};
    }

    Index history() const { return 1; }
    Index lookback() const { return period_ - 1 + unstable_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        if (seeding_ > 0) {
            sum_ += bars(0, i);
            if (--seeding_ == 0) average_ = sum_ / static_cast<double>(period_);
        } else {
            average_ = ema_step(average_, bars(0, i), k_);
        }
        if (warm_up_.consume()) return false;
        out[0] = average_;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        average_ = ema_step(average_, bars(0, i), k_);
        out[0] = average_;
    }

    // The current average, once the seed is complete.
    V average() const { return average_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sum_);
        archive(average_);
        archive.bounded(seeding_, 0, period_);
        archive(warm_up_);
    }

private:
    Index period_;
    Index unstable_;
    double k_scalar_;
    V k_;
    V sum_{};
    V average_{};
    Index seeding_;
    WarmUp warm_up_;
};

using EmaKernel = EmaKernelOf<>;

// EMA over EMA: the second stage is fed the first stage's outputs.
template <class V = double>
class DemaKernelOf {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    DemaKernelOf(std::int32_t period, std::int32_t unstable)
        : period_(period),
          unstable_(unstable),
          ema1_(period, ema_smoothing_factor(period), unstable),
          ema2_(period, ema_smoothing_factor(period), unstable) {}

    // A fresh kernel with the same parameters over values of type U.
    template <class U>
    DemaKernelOf<U> retyped() const {
        return {period_, unstable_};
    }

    Index history() const { return 1; }
    Index lookback() const { return 2 * ema1_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        V ema1;
        if (!ema1_.step(bars, i, &ema1)) return false;
        V ema2;
        if (!ema2_.step(ValueBarsOf<V>{ema1}, i, &ema2)) return false;
        out[0] = ema1 * 2.0 - ema2;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        V ema1, ema2;
        ema1_.steady(bars, i, &ema1);
        ema2_.steady(ValueBarsOf<V>{ema1}, i, &ema2);
        out[0] = ema1 * 2.0 - ema2;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ema1_);
        archive(ema2_);
    }

private:
    std::int32_t period_;
    std::int32_t unstable_;
    EmaKernelOf<V> ema1_, ema2_;
};

using DemaKernel = DemaKernelOf<>;

// Three EMA stages, combined as (3 EMA1 - 3 EMA2) + EMA3.
template <class V = double>
class TemaKernelOf {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    TemaKernelOf(std::int32_t period, std::int32_t unstable)
        : period_(period),
          unstable_(unstable),
          ema1_(period, ema_smoothing_factor(period), unstable),
          ema2_(period, ema_smoothing_factor(period), unstable),
          ema3_(period, ema_smoothing_factor(period), unstable) {}

    // A fresh kernel with the same parameters over values of type U.
    template <class U>
    TemaKernelOf<U> retyped() const {
        return {period_, unstable_};
    }

    Index history() const { return 1; }
    Index lookback() const { return 3 * ema1_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        V ema1, ema2, ema3;
        if (!ema1_.step(bars, i, &ema1)) return false;
        if (!ema2_.step(ValueBarsOf<V>{ema1}, i, &ema2)) return false;
        if (!ema3_.step(ValueBarsOf<V>{ema2}, i, &ema3)) return false;
        out[0] = (ema1 * 3.0 - ema2 * 3.0) + ema3;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        V ema1, ema2, ema3;
        ema1_.steady(bars, i, &ema1);
        ema2_.steady(ValueBarsOf<V>{ema1}, i, &ema2);
        ema3_.steady(ValueBarsOf<V>{ema2}, i, &ema3);
        out[0] = (ema1 * 3.0 - ema2 * 3.0) + ema3;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(ema1_);
        archive(ema2_);
        archive(ema3_);
    }

private:
    std::int32_t period_;
    std::int32_t unstable_;
    EmaKernelOf<V> ema1_, ema2_, ema3_;
};

using TemaKernel = TemaKernelOf<>;

EmaKernel ema_kernel(const double* params, const UnstablePeriods& unstable);
DemaKernel dema_kernel(const double* params, const UnstablePeriods& unstable);
TemaKernel tema_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
