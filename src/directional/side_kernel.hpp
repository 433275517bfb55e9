// One side's directional measure over the bars: its movement alone (high and
// low) or, with the range, its movement in percent of the range (high, low
// and close). Period 1 reports each bar's own measure from bar 1 on and
// ignores the unstable period; longer periods run the Wilder sums, the
// movement alone from one bar sooner than the indicator.
#pragma once

#include <cstdint>

#include "directional/directional_smoother.hpp"
#include "frame/kernel.hpp"

namespace movlex::directional {

template <bool with_range, Side side, class V = double>
class SideKernel {
public:
    static constexpr int inputs = with_range ? 3 : 2;
    static constexpr int outputs = 1;

    SideKernel(std::int32_t period, std::int32_t unstable)
        : period_(period),
          unstable_(unstable),
          one_bar_(period == 1),
          lookback_(one_bar_ ? 1 : Index{period} - (with_range ? 0 : 1) + unstable),
          sums_(period),
          warm_up_(lookback_) {}

    // A fresh kernel with the same parameters over values of type U.
    template <class U>
    SideKernel<with_range, side, U> retyped() const {
        return {period_, unstable_};
    }

    Index history() const { return 1; }
    Index lookback() const { return lookback_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        const bool warming = warm_up_.consume();
        BarMeasures<V> bar;
        if (!reader_.step(bars, i, bar)) return false;
        if (!one_bar_) sums_.add(bar);
        if (warming) return false;
        out[0] = value(bar);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        const BarMeasures<V> bar = reader_.next(bars, i);
        if (!one_bar_) sums_.smooth(bar);
        out[0] = value(bar);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(reader_);
        archive(sums_);
        archive(warm_up_);
    }

private:
    // With the range, a bar without movement on this side is 0 whatever its
    // range.
    V value(const BarMeasures<V>& bar) const {
        if constexpr (with_range) {
            if (!one_bar_) return sums_.indicator(side);
            const V movement = side_of(bar.movement, side);
            return pick(movement == 0.0, V{}, percent_of(movement, bar.range));
        } else {
            return one_bar_ ? side_of(bar.movement, side) : sums_.movement(side);
        }
    }

    std::int32_t period_;
    std::int32_t unstable_;
    bool one_bar_;
    Index lookback_;
    BarReader<with_range, V> reader_;
    DirectionalSums<with_range, V> sums_;
    WarmUp warm_up_;
};

}  // namespace movlex::directional
