// One side's directional measure over the bars: its movement alone (high and
// low) or, with the range, its movement in percent of the range (high, low
// and close). Period 1 reports each bar's own measure from bar 1 on and
// ignores the unstable period; longer periods run the Wilder sums, the
// movement alone from one bar sooner than the indicator.
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "directional/directional_smoother.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"

namespace movlex::directional {

template <bool with_range, Side side, class V = double>
class SideKernel : public PeriodUnstableKernel<SideKernel<with_range, side, V>> {
public:
    static constexpr int inputs = with_range ? 3 : 2;
    static constexpr int outputs = 1;

    SideKernel(std::int32_t period, std::int32_t unstable)
        : PeriodUnstableKernel<SideKernel>(period, unstable,
                                           period == 1 ? 1 : Index{period} - (with_range ? 0 : 1) + unstable),
          one_bar_(period == 1),
          sums_(period) {}

    // The same kernel over values of type U.
    template <class U>
    using Of = SideKernel<with_range, side, U>;

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        const bool warming = this->warm_up_.consume();
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

    // The batch path: the measures and values two bars at a time, around
    // this side's sum (and the range's) alone.
    template <int N>
    Index steady_block(const PointerBars<N>& bars, Index i, Index count, double* const* out)
        requires std::is_same_v<V, double>
    {
        constexpr bool plus = side == Side::plus;
        double* target = out[0];
        if (one_bar_) {
            over_pairs(count, [&]<class U>(Index j) {
                const BarMeasures<U> bar = measures_at<with_range, U>(bars, i + j);
                store_lanes(target + j, one_bar_value(side_of(bar.movement, side), bar.range));
            });
        } else {
            sums_.template smooth_run<plus, !plus, with_range>(bars, i, count, [&]<class U>(Index j, const BarMeasures<U>& sums) {
                const U sum = side_of(sums.movement, side);
                if constexpr (with_range)
                    store_lanes(target + j, percent_of(sum, sums.range));
                else
                    store_lanes(target + j, sum);
            });
        }
        reader_.resume_after(bars, i + count - 1);
        return count;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(reader_);
        archive(sums_);
        archive(this->warm_up_);
    }

private:
    // With the range, a bar without movement on this side is 0 whatever its
    // range.
    V value(const BarMeasures<V>& bar) const {
        if (one_bar_) return one_bar_value(side_of(bar.movement, side), bar.range);
        if constexpr (with_range) return sums_.indicator(side);
        return sums_.movement(side);
    }

    // Period 1: the bar's own movement, or with the range its movement in
    // percent of its range.
    template <class U>
    static U one_bar_value(U movement, [[maybe_unused]] U range) {
        if constexpr (with_range) return pick(movement == 0.0, U{}, percent_of(movement, range));
        return movement;
    }

    bool one_bar_;
    BarReader<with_range, V> reader_;
    DirectionalSums<with_range, V> sums_;
};

}  // namespace movlex::directional
