// Ultimate oscillator (ULTOSC).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/bar_block.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array ULTOSC_PARAMS{integer_param("period1", 7, 1), integer_param("period2", 14, 1),
                                          integer_param("period3", 28, 1)};

// The longest of the three periods; -1 if one is out of range.
std::int32_t ultosc_lookback(std::int32_t period1, std::int32_t period2, std::int32_t period3);

// Buying pressure against true range over three windows, the shortest
// weighted 4, the middle 2 and the longest 1, whatever order the periods come
// in. Each window keeps running sums; the bar that leaves a window is
// recomputed from the inputs instead of being stored (by the same operations,
// so it leaves with the bits it entered with). A window whose
// true-range sum lies inside the band (-1e-8, 1e-8) adds nothing, and the sum
// of the terms is still divided by 7. The first bar fed only gives the
// previous close of the second.
class UltoscKernel {
public:
    static constexpr int inputs = 3;  // high, low, close
    static constexpr int outputs = 1;

    UltoscKernel(std::int32_t period1, std::int32_t period2, std::int32_t period3) {
        std::array<std::int32_t, 3> periods = {period1, period2, period3};
        std::sort(periods.begin(), periods.end());
        for (int w = 0; w < 3; ++w) windows_[w].period = periods[w];
        warm_up_ = WarmUp(periods[2]);
    }

    Index history() const { return windows_[2].period + 1; }
    Index lookback() const { return windows_[2].period; }

    // Until the first output, a window collects the bars that precede it in
    // its first window: those fed when fewer than its period warm-up bars
    // remain.
    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.remaining() == 0) {
            steady(bars, i, out);
            return true;
        }
        if (warm_up_.remaining() < lookback()) {
            const Pressure bar = bar_pressure(bars, i);
            for (Window& window : windows_)
                if (warm_up_.remaining() < window.period) {
                    window.buying += bar.buying;
                    window.range += bar.range;
                }
        }
        warm_up_.consume();
        return false;
    }

    template <class Bars>
    void steady(const Bars& bars, Index today, double* out) {
        Window& shortest = windows_[0];
        Window& middle = windows_[1];
        Window& longest = windows_[2];
        const Pressure bar = bar_pressure(bars, today);
        for (Window& window : windows_) window.range += bar.range;

        double sum = 0.0;
        if (shortest.has_range()) sum = ((bar.buying + shortest.buying) / shortest.range) * 4.0 + sum;
        if (middle.has_range()) {
            const double ratio = (middle.buying + bar.buying) / middle.range;
            sum = (ratio + ratio) + sum;
        }
        if (longest.has_range()) sum = (longest.buying + bar.buying) / longest.range + sum;

        for (Window& window : windows_) {
            const Pressure leaving = bar_pressure(bars, today - window.period + 1);
            window.buying = (window.buying + bar.buying) - leaving.buying;
            window.range = window.range - leaving.range;
        }
        out[0] = (sum / 7.0) * 100.0;
    }

    // The batch path, over a block of bars. First the (buying, range)
    // measures of the bars it needs, two bars at a time in lanes: one run
    // from the bar that leaves the longest window up to REACH bars back to
    // the block's last bar, and a run of its own for the bars leaving a
    // longer window. Then, two bars at a time, each window's pair of sums bar
    // by bar (the carried chain, both sums in two lanes), and the ratios,
    // their weighted sum and the output of both bars in lanes. The divisions
    // lie off the carried sums, and every value comes from the operations of
    // steady(), so it has its bits.
    template <int N>
    Index steady_block(const PointerBars<N>& bars, Index i, Index available, double* const* out) {
        const Index n = std::min(available, BAR_BLOCK);
        Index reach = 1;
        for (const Window& window : windows_)
            if (window.period <= REACH) reach = window.period;
        double measured[2 * (BAR_BLOCK + REACH)], far[3][2 * BAR_BLOCK];
        measure(bars, i - reach + 1, n + reach - 1, measured);
        const double* entering = measured + 2 * (reach - 1);
        const double* leaving[3];
        for (int w = 0; w < 3; ++w) {
            const Index period = windows_[w].period;
            if (period <= reach) {
                leaving[w] = measured + 2 * (reach - period);
            } else {
                measure(bars, i - period + 1, n, far[w]);
                leaving[w] = far[w];
            }
        }

        Lanes<2> sums[3];
        for (int w = 0; w < 3; ++w) sums[w] = Lanes<2>{windows_[w].buying, windows_[w].range};
        over_pairs(n, [&]<class U>(Index j) {
            // Per bar of the pair: its measures, the shortest window's sums
            // before it, and each window's sums with it.
            Lanes<2> bar[2], shortest_before[2], with_bar[3][2];
            for (int l = 0; l < lane_count<U>; ++l) {
                bar[l] = load_lanes<Lanes<2>>(entering + 2 * (j + l));
                shortest_before[l] = sums[0];
                for (int w = 0; w < 3; ++w) {
                    sums[w] = sums[w] + bar[l];
                    with_bar[w][l] = sums[w];
                    sums[w] = sums[w] - load_lanes<Lanes<2>>(leaving[w] + 2 * (j + l));
                }
            }
            const U shortest = side<U>(with_bar[0], 1), middle = side<U>(with_bar[1], 1);
            const U longest = side<U>(with_bar[2], 1);
            U sum{};
            const U ratio_shortest = (side<U>(bar, 0) + side<U>(shortest_before, 0)) / shortest;
            sum = pick(has_range(shortest), ratio_shortest * splat<U>(4.0) + sum, sum);
            const U ratio_middle = side<U>(with_bar[1], 0) / middle;
            sum = pick(has_range(middle), (ratio_middle + ratio_middle) + sum, sum);
            const U ratio_longest = side<U>(with_bar[2], 0) / longest;
            sum = pick(has_range(longest), ratio_longest + sum, sum);
            store_lanes(out[0] + j, (sum / splat<U>(7.0)) * splat<U>(100.0));
        });
        for (int w = 0; w < 3; ++w) {
            windows_[w].buying = sums[w][0];
            windows_[w].range = sums[w][1];
        }
        return n;
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (Window& window : windows_) {
            archive(window.buying);
            archive(window.range);
        }
        archive(warm_up_);
    }

private:
    static constexpr double RANGE_BAND = 1e-8;

    // Buying pressure (close above the true low) and true range of a bar
    // after the first.
    template <class U>
    struct PressureOf {
        U buying;
        U range;
    };
    using Pressure = PressureOf<double>;

    template <class U>
    static PressureOf<U> pressure(U high, U low, U close, U previous_close) {
        const U true_low = pick(low < previous_close, low, previous_close);
        return {close - true_low, true_range(high, low, previous_close)};
    }

    template <class Bars>
    static Pressure bar_pressure(const Bars& bars, Index i) {
        return pressure(bars(0, i), bars(1, i), bars(2, i), bars(2, i - 1));
    }

    // The longest reach back that the batch path measures in one run with
    // the block's own bars.
    static constexpr Index REACH = 3 * BAR_BLOCK;

    // The (buying, range) measures of bars from .. from + n - 1, bar by bar
    // side by side into pairs[].
    template <int N>
    static void measure(const PointerBars<N>& bars, Index from, Index n, double* pairs) {
        const double* high = bars.arrays[0] + from;
        const double* low = bars.arrays[1] + from;
        const double* close = bars.arrays[2] + from;
        over_pairs(n, [&]<class U>(Index j) {
            const PressureOf<U> bar = pressure(load_lanes<U>(high + j), load_lanes<U>(low + j),
                                               load_lanes<U>(close + j), load_lanes<U>(close + j - 1));
            if constexpr (lane_count<U> == 2) {
                store_lanes(pairs + 2 * j, __builtin_shufflevector(bar.buying, bar.range, 0, 2));
                store_lanes(pairs + 2 * j + 2, __builtin_shufflevector(bar.buying, bar.range, 1, 3));
            } else {
                pairs[2 * j] = bar.buying;
                pairs[2 * j + 1] = bar.range;
            }
        });
    }

    // Lane k (0 buying, 1 range) of the pairs of the bars of a U.
    template <class U>
    static U side(const Lanes<2>* pairs, int k) {
        if constexpr (lane_count<U> == 2) {
            return k == 0 ? __builtin_shufflevector(pairs[0], pairs[1], 0, 2)
                          : __builtin_shufflevector(pairs[0], pairs[1], 1, 3);
        } else {
            return pairs[0][k];
        }
    }

    // A range sum outside the band (-1e-8, 1e-8), in each lane.
    template <class U>
    static auto has_range(U range) {
        return magnitude(range) >= splat<U>(RANGE_BAND);  // as range <= -band or range >= band
    }

    // Running sums of one window; between bars they cover the period - 1 bars
    // before the next one.
    struct Window {
        Index period = 1;
        double buying = 0.0;
        double range = 0.0;

        bool has_range() const { return UltoscKernel::has_range(range); }
    };

    std::array<Window, 3> windows_{};
    WarmUp warm_up_;
};

UltoscKernel ultosc_kernel(const double* params, const UnstablePeriods& unstable);

// Its entry reports an empty result before it looks at the range.
template <>
inline constexpr EntryForm entry_form<&ultosc_kernel>{.clears_outputs = true};

}  // namespace movlex
