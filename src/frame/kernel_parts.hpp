// The members of a kernel (frame/kernel.hpp) that follow from the form of
// its warm-up, written once. A kernel derives from the part that fits,
// naming itself, and provides its steady step and its visit():
//
//   class MomKernel : public IdleWarmUpKernel<MomKernel> { ... };
//
// The parts hold no state of their own but the warm-up count, which the
// kernel lists in its visit() where it stands in the saved state.
#pragma once

#include <algorithm>
#include <cstdint>

#include "frame/contract.hpp"
#include "frame/kernel.hpp"

namespace movlex {

// A kernel that reads only the current bar and gives an output from the
// first bar on: every step is a steady step.
template <class Derived>
class EachBarKernel {
public:
    Index history() const { return 1; }
    Index lookback() const { return 0; }

    template <class Bars, class Value>
    bool step(const Bars& bars, Index i, Value* out) {
        static_cast<Derived*>(this)->steady(bars, i, out);
        return true;
    }
};

// A kernel that only counts its first `lookback` bars and from then on
// computes each output from the current bar and the `lookback` bars before
// it: its history is lookback + 1 bars, and every step after the warm-up is
// a steady step.
template <class Derived>
class IdleWarmUpKernel {
public:
    Index history() const { return lookback_ + 1; }
    Index lookback() const { return lookback_; }

    // Whether a restored warm-up agrees with the number of bars a stream has
    // seen: each of the first `lookback` bars consumes one warm-up bar. A
    // state that disagrees would take a steady step before its window holds
    // `lookback` bars, reading slots before the first.
    bool agrees_with(Index bars) const { return warm_up_.remaining() == std::max<Index>(0, lookback_ - bars); }

    template <class Bars, class Value>
    bool step(const Bars& bars, Index i, Value* out) {
        if (warm_up_.consume()) return false;
        static_cast<Derived*>(this)->steady(bars, i, out);
        return true;
    }

protected:
    explicit IdleWarmUpKernel(Index lookback) : lookback_(lookback), warm_up_(lookback) {}

    Index lookback_;
    WarmUp warm_up_;
};

// A kernel made from a period and the unstable period of its slot, over
// values of type V (double, or the lanes of the many-series engine), that
// reads only the current bar and counts its own warm-up of `lookback` bars
// (warm_up_, which its steps consume and its visit() lists). The kernel names
// itself over values of type U as Derived::Of<U>; retyped<U>() makes a fresh
// one with the same parameters.
template <class Derived>
class PeriodUnstableKernel {
public:
    template <class U>
    auto retyped() const {
        return typename Derived::template Of<U>(period_, unstable_);
    }

    Index history() const { return 1; }
    Index lookback() const { return lookback_; }

protected:
    PeriodUnstableKernel(std::int32_t period, std::int32_t unstable, Index lookback)
        : period_(period), unstable_(unstable), lookback_(lookback), warm_up_(lookback) {}

    std::int32_t period_;
    std::int32_t unstable_;
    Index lookback_;
    WarmUp warm_up_;
};

}  // namespace movlex
