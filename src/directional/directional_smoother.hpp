// The Wilder smoothing that the directional family shares: plus movement,
// minus movement and true range summed over period - 1 bars, then each later
// bar smoothed in with (sum - sum / period) + value. Directional movement
// reads its own side of it, the directional indicators one side against the
// range, DX and ADX both sides at once.
#pragma once

#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/bar_block.hpp"
#include "frame/contract.hpp"
#include "frame/kernel.hpp"
#include "frame/wilder.hpp"

// Kept in its own namespace: these helpers serve the directional family only.
namespace movlex::directional {

enum class Side { plus, minus };

template <class V>
inline V side_of(const DirectionalMovement<V>& movement, Side side) {
    return side == Side::plus ? movement.plus : movement.minus;
}

// What one bar contributes: its one-bar movement and its true range.
template <class V = double>
struct BarMeasures {
    DirectionalMovement<V> movement;
    V range;
};

// Reads successive bars of (high, low[, close]) inputs and measures each
// against the one before. The first bar fed is the reference and has no
// measures; every bar's inputs are read once and the previous bar's values
// carried over. Without closes (directional movement alone) the range is 0.
template <bool with_range, class V = double>
class BarReader {
public:
    // Consumes bar i; true with its measures in bar, false for the reference.
    template <class Bars>
    bool step(const Bars& bars, Index i, BarMeasures<V>& bar) {
        if (!started_) {
            remember(bars(input::high, i), bars(input::low, i), bars, i);
            started_ = true;
            return false;
        }
        bar = next(bars, i);
        return true;
    }

    // The measures of bar i, once the reference has been fed.
    template <class Bars>
    BarMeasures<V> next(const Bars& bars, Index i) {
        const V high = bars(input::high, i);
        const V low = bars(input::low, i);
        BarMeasures<V> bar{directional_movement(high, low, previous_high_, previous_low_), V{}};
        if constexpr (with_range) bar.range = true_range(high, low, previous_close_);
        remember(high, low, bars, i);
        return bar;
    }

    // Takes bar i as the previous bar, after a block whose measures were read
    // straight from the inputs.
    template <class Bars>
    void resume_after(const Bars& bars, Index i) {
        remember(bars(input::high, i), bars(input::low, i), bars, i);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(started_);
        archive(previous_high_);
        archive(previous_low_);
        archive(previous_close_);
    }

private:
    template <class Bars>
    void remember(V high, V low, const Bars& bars, Index i) {
        previous_high_ = high;
        previous_low_ = low;
        if constexpr (with_range) previous_close_ = bars(input::close, i);
    }

    bool started_ = false;
    V previous_high_{};
    V previous_low_{};
    V previous_close_{};
};

// The measures of bar i of the caller's arrays against the bar before it, as
// BarReader::next gives them (the range only with closes); over Lanes<2>
// those of bars i and i + 1.
template <bool with_range, class U, int N>
BarMeasures<U> measures_at(const PointerBars<N>& bars, Index i) {
    const double* high = bars.arrays[input::high] + i;
    const double* low = bars.arrays[input::low] + i;
    const U bar_high = load_lanes<U>(high);
    const U bar_low = load_lanes<U>(low);
    BarMeasures<U> bar{directional_movement(bar_high, bar_low, load_lanes<U>(high - 1), load_lanes<U>(low - 1)), U{}};
    if constexpr (with_range)
        bar.range = true_range(bar_high, bar_low, load_lanes<U>(bars.arrays[input::close] + i - 1));
    return bar;
}

// The smoothed movement of both sides and (with ranges) the smoothed true
// range: plain sums over the first period - 1 bars fed, then every later bar
// smoothed in.
template <bool with_range, class V = double>
class DirectionalSums {
public:
    DirectionalSums() = default;
    explicit DirectionalSums(std::int32_t period)
        : period_(splat<V>(static_cast<double>(period))), seed_length_(period - 1), seeding_(period - 1) {}

    // Adds the bar to the seed while it lasts, else smooths it in; true when
    // smoothed in.
    bool add(const BarMeasures<V>& bar) {
        if (seeding_ == 0) {
            smooth(bar);
            return true;
        }
        --seeding_;
        plus_ += bar.movement.plus;
        minus_ += bar.movement.minus;
        if constexpr (with_range) range_ += bar.range;
        return false;
    }

    void smooth(const BarMeasures<V>& bar) {
        plus_ = wilder_sum_step(plus_, period_, bar.movement.plus);
        minus_ = wilder_sum_step(minus_, period_, bar.movement.minus);
        if constexpr (with_range) range_ = wilder_sum_step(range_, period_, bar.range);
    }

    // The batch path (V = double): smooths in bars i .. i + count - 1 of the
    // caller's arrays, a pair of bars at a time (over_pairs), and calls
    // emit.template operator()<U>(j, sums) with the sums after bar i + j (and
    // i + j + 1) in the lanes of U. Only the sums asked for are carried (a
    // kernel that reads one side leaves the other as it was); the first two
    // share one pair of lanes, so that their divisions are one instruction.
    template <bool plus, bool minus, bool range, int N, class Emit>
    void smooth_run(const PointerBars<N>& bars, Index i, Index count, Emit&& emit) {
        constexpr int C = int(plus) + int(minus) + int(range);
        static_assert(C > 0 && (with_range || !range));
        double* carried[3] = {};
        int c = 0;
        if constexpr (plus) carried[c++] = &plus_;
        if constexpr (minus) carried[c++] = &minus_;
        if constexpr (range) carried[c++] = &range_;
        const Lanes<2> divisor = splat<Lanes<2>>(period_);
        Lanes<2> pair = {*carried[0], C >= 2 ? *carried[1] : 0.0};
        double single = C == 1 ? *carried[0] : C == 3 ? *carried[2] : 0.0;
        over_pairs(count, [&]<class U>(Index j) {
            const BarMeasures<U> bar = measures_at<with_range, U>(bars, i + j);
            U in[3] = {};
            int k = 0;
            if constexpr (plus) in[k++] = bar.movement.plus;
            if constexpr (minus) in[k++] = bar.movement.minus;
            if constexpr (range) in[k++] = bar.range;
            U out[3] = {};
            for (int l = 0; l < lane_count<U>; ++l) {
                if constexpr (C >= 2) {
                    pair = wilder_sum_step(pair, divisor, Lanes<2>{lane(in[0], l), lane(in[1], l)});
                    set_lane(out[0], l, pair[0]);
                    set_lane(out[1], l, pair[1]);
                }
                if constexpr (C != 2) {
                    single = wilder_sum_step(single, period_, lane(in[C - 1], l));
                    set_lane(out[C - 1], l, single);
                }
            }
            BarMeasures<U> sums{};
            k = 0;
            if constexpr (plus) sums.movement.plus = out[k++];
            if constexpr (minus) sums.movement.minus = out[k++];
            if constexpr (range) sums.range = out[k++];
            emit.template operator()<U>(j, sums);
        });
        if constexpr (C >= 2) {
            *carried[0] = pair[0];
            *carried[1] = pair[1];
        }
        if constexpr (C != 2) *carried[C - 1] = single;
    }

    V movement(Side side) const { return side == Side::plus ? plus_ : minus_; }

    // The directional indicator of one side: its movement in percent of the
    // range, 0 while the range is near zero.
    V indicator(Side side) const { return percent_of(movement(side), range_); }

    // The directional movement index of the current bar, stored in value
    // where the bar has one; the result says where. A bar has none when the
    // range or the sum of both indicators is near zero; value is then left as
    // it was.
    auto index(V& value) const { return index_of(plus_, minus_, range_, value); }

    // The same from given sums.
    template <class U>
    static auto index_of(U plus, U minus, U range, U& value) {
        const U minus_indicator = (minus / range) * 100.0;
        const U plus_indicator = (plus / range) * 100.0;
        const U sum = minus_indicator + plus_indicator;
        const auto has_index = !inside_near_zero_band(range) && !inside_near_zero_band(sum);
        value = pick(has_index, (magnitude(minus_indicator - plus_indicator) / sum) * 100.0, value);
        return has_index;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(plus_);
        archive(minus_);
        archive(range_);
        archive.bounded(seeding_, 0, seed_length_);
    }

private:
    V period_ = splat<V>(1.0);
    Index seed_length_ = 0;
    Index seeding_ = 0;
    V plus_{};
    V minus_{};
    V range_{};
};

// The batch path of DX and ADX (V = double): reads and smooths in bars
// i .. i + count - 1 of the caller's arrays and calls each(j, has_index, dx)
// for bar i + j, in order, with its DX where it has one.
template <int N, class Each>
void index_run(BarReader<true>& reader, DirectionalSums<true>& sums, const PointerBars<N>& bars, Index i,
               Index count, Each&& each) {
    sums.smooth_run<true, true, true>(bars, i, count, [&]<class U>(Index j, const BarMeasures<U>& kept) {
        U value{};
        const U present = flag<U>(
            DirectionalSums<true>::index_of(kept.movement.plus, kept.movement.minus, kept.range, value));
        for (int l = 0; l < lane_count<U>; ++l) each(j + l, lane(present, l) != 0.0, lane(value, l));
    });
    reader.resume_after(bars, i + count - 1);
}

}  // namespace movlex::directional
