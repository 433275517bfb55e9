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

// The measures of the bars of a block, or their sums, one array each.
struct MeasureBlock {
    BlockArray plus;
    BlockArray minus;
    BlockArray range;
};

// The measures of bars i .. i + n - 1 of the caller's arrays, each against
// the bar before it, as BarReader::next gives them (the range only with
// closes).
template <bool with_range, int N>
void measure_block(const PointerBars<N>& bars, Index i, Index n, MeasureBlock& block) {
    const double* high = bars.arrays[input::high] + i;
    const double* low = bars.arrays[input::low] + i;
    over_pairs(n, [&]<class U>(Index j) {
        const U bar_high = load_lanes<U>(high + j);
        const U bar_low = load_lanes<U>(low + j);
        const DirectionalMovement<U> movement =
            directional_movement(bar_high, bar_low, load_lanes<U>(high + j - 1), load_lanes<U>(low + j - 1));
        store_lanes(block.plus.data() + j, movement.plus);
        store_lanes(block.minus.data() + j, movement.minus);
        if constexpr (with_range) {
            const double* close = bars.arrays[input::close] + i;
            store_lanes(block.range.data() + j, true_range(bar_high, bar_low, load_lanes<U>(close + j - 1)));
        }
    });
}

// One to three running sums carried together over a block: state[c] takes
// in[c][j] at every bar j and leaves its value in out[c][j]. The first two
// share one pair of lanes, so that their divisions are one instruction.
template <int C>
void wilder_sum_chains(double* const (&state)[C], const double* const (&in)[C], double* const (&out)[C],
                       double period, Index n) {
    if constexpr (C == 1) {
        double sum = *state[0];
        for (Index j = 0; j < n; ++j) out[0][j] = sum = wilder_sum_step(sum, period, in[0][j]);
        *state[0] = sum;
    } else {
        const Lanes<2> divisor = splat<Lanes<2>>(period);
        Lanes<2> pair = {*state[0], *state[1]};
        [[maybe_unused]] double third = C == 3 ? *state[C - 1] : 0.0;
        for (Index j = 0; j < n; ++j) {
            pair = wilder_sum_step(pair, divisor, Lanes<2>{in[0][j], in[1][j]});
            out[0][j] = pair[0];
            out[1][j] = pair[1];
            if constexpr (C == 3) out[2][j] = third = wilder_sum_step(third, period, in[2][j]);
        }
        *state[0] = pair[0];
        *state[1] = pair[1];
        if constexpr (C == 3) *state[2] = third;
    }
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

    // Smooths in the measures of a block of n bars (V = double) and keeps the
    // sums after every bar; only the sums asked for are carried (a kernel that
    // reads one side leaves the other as it was).
    template <bool plus, bool minus, bool range>
    void smooth_block(const MeasureBlock& bar, Index n, MeasureBlock& sums) {
        static_assert(plus || minus || range);
        static_assert(!range || with_range);
        constexpr int C = int(plus) + int(minus) + int(range);
        double* state[C];
        const double* in[C];
        double* out[C];
        int c = 0;
        const auto take = [&](double& sum, const BlockArray& values, BlockArray& kept) {
            state[c] = &sum;
            in[c] = values.data();
            out[c++] = kept.data();
        };
        if constexpr (plus) take(plus_, bar.plus, sums.plus);
        if constexpr (minus) take(minus_, bar.minus, sums.minus);
        if constexpr (range) take(range_, bar.range, sums.range);
        wilder_sum_chains<C>(state, in, out, period_, n);
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

// The directional movement index of bars i .. i + n - 1 of the caller's
// arrays (V = double): reads and smooths them in, then stores in index[j]
// the DX of bar j where it has one and 1 in present[j] where it does (0 where
// it does not).
template <int N>
void index_block(BarReader<true>& reader, DirectionalSums<true>& sums, const PointerBars<N>& bars, Index i, Index n,
                 BlockArray& index, BlockArray& present) {
    MeasureBlock bar, kept;
    measure_block<true>(bars, i, n, bar);
    sums.smooth_block<true, true, true>(bar, n, kept);
    reader.resume_after(bars, i + n - 1);
    over_pairs(n, [&]<class U>(Index j) {
        U value{};
        const auto has_index = DirectionalSums<true>::index_of(
            load_lanes<U>(kept.plus.data() + j), load_lanes<U>(kept.minus.data() + j),
            load_lanes<U>(kept.range.data() + j), value);
        store_lanes(index.data() + j, value);
        store_lanes(present.data() + j, pick(has_index, splat<U>(1.0), U{}));
    });
}

}  // namespace movlex::directional
