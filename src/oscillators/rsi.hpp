// RSI and CMO: one kernel of Wilder-smoothed average gain and average loss;
// the two differ only in the final formula and in their unstable slot.
#pragma once

#include <array>
#include <cstdint>
#include <type_traits>

#include "frame/bar_block.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/lanes.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/wilder.hpp"
#include "movlex.h"

namespace movlex {

// CMO shares the period of RSI.
inline constexpr std::array RSI_PARAMS{integer_param("period", 14, 2)};
inline constexpr auto& CMO_PARAMS = RSI_PARAMS;

// Both formulas output 0 when the two averages together vanish.
template <class V>
inline auto negligible(V total) {
    return -1e-8 < total && total < 1e-8;
}

struct RelativeStrength {
    template <class V>
    static V of(V average_gain, V average_loss) {
        const V total = average_loss + average_gain;
        return pick(negligible(total), V{}, (average_gain / total) * 100.0);
    }
};

struct ChandeMomentum {
    template <class V>
    static V of(V average_gain, V average_loss) {
        const V total = average_loss + average_gain;
        return pick(negligible(total), V{}, ((average_gain - average_loss) / total) * 100.0);
    }
};

// The averages are seeded with plain means over the first period changes,
// which end U bars before the first output, and are then carried forward one
// bar at a time; the window is never summed again. A change is a loss when
// negative, otherwise a gain (a zero change is a gain of 0).
template <class Formula, class V = double>
class GainLossKernel : public PeriodUnstableKernel<GainLossKernel<Formula, V>> {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    GainLossKernel(std::int32_t period, std::int32_t unstable)
        : PeriodUnstableKernel<GainLossKernel>(period, unstable, Index{period} + unstable),
          divisor_(splat<V>(static_cast<double>(period))),
          seeding_(Index{period} + 1) {}

    // The same kernel over values of type U.
    template <class U>
    using Of = GainLossKernel<Formula, U>;

    template <class Bars>
    bool step(const Bars& bars, Index i, V* out) {
        if (seeding_ > 0)
            seed(bars(0, i));
        else
            smooth(bars(0, i));
        if (this->warm_up_.consume()) return false;
        out[0] = Formula::of(average_gain_, average_loss_);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, V* out) {
        smooth(bars(0, i));
        out[0] = Formula::of(average_gain_, average_loss_);
    }

    // The batch path: the changes and the formula two bars at a time, around
    // both averages carried in one pair of lanes (one division for both).
    template <int N>
    Index steady_block(const PointerBars<N>& bars, Index i, Index count, double* const* out)
        requires std::is_same_v<V, double>
    {
        const double* input = bars.arrays[0] + i;
        const Lanes<2> divisor = splat<Lanes<2>>(divisor_);
        Lanes<2> averages = {average_gain_, average_loss_};
        over_pairs(count, [&]<class U>(Index j) {
            const Change<U> change = split_change(load_lanes<U>(input + j - 1), load_lanes<U>(input + j));
            U gain{}, loss{};
            for (int l = 0; l < lane_count<U>; ++l) {
                averages = wilder_average_step(averages, divisor, Lanes<2>{lane(change.gain, l), lane(change.loss, l)});
                set_lane(gain, l, averages[0]);
                set_lane(loss, l, averages[1]);
            }
            store_lanes(out[0] + j, Formula::of(gain, loss));
        });
        average_gain_ = averages[0];
        average_loss_ = averages[1];
        previous_ = input[count - 1];
        return count;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(previous_);
        archive(average_gain_);
        archive(average_loss_);
        archive.bounded(seeding_, 0, Index{this->period_} + 1);
        archive(this->warm_up_);
    }

private:
    // The first bar only sets the previous value; the next period bars add
    // their changes to the sums, which then become the averages.
    void seed(V value) {
        if (seeding_ <= this->period_) {
            const Change<V> change = split_change(previous_, value);
            average_gain_ += change.gain;
            average_loss_ += change.loss;
        }
        previous_ = value;
        if (--seeding_ == 0) {
            average_gain_ = average_gain_ / divisor_;
            average_loss_ = average_loss_ / divisor_;
        }
    }

    void smooth(V value) {
        const Change<V> change = split_change(previous_, value);
        average_gain_ = wilder_average_step(average_gain_, divisor_, change.gain);
        average_loss_ = wilder_average_step(average_loss_, divisor_, change.loss);
        previous_ = value;
    }

    template <class U>
    struct Change {
        U gain;
        U loss;
    };
    template <class U>
    static Change<U> split_change(U previous, U current) {
        const U change = current - previous;
        const auto is_loss = change < 0.0;
        return {pick(is_loss, U{}, change), pick(is_loss, -change, U{})};
    }

    V divisor_;
    V previous_{};
    V average_gain_{};  // the sums while seeding
    V average_loss_{};
    Index seeding_;
};

using RsiKernel = GainLossKernel<RelativeStrength>;
using CmoKernel = GainLossKernel<ChandeMomentum>;

RsiKernel rsi_kernel(const double* params, const UnstablePeriods& unstable);
CmoKernel cmo_kernel(const double* params, const UnstablePeriods& unstable);

// Their entries report an empty result before they look at the range.
template <>
inline constexpr EntryForm entry_form<&rsi_kernel>{.clears_outputs = true};
template <>
inline constexpr EntryForm entry_form<&cmo_kernel> = entry_form<&rsi_kernel>;

}  // namespace movlex
