// Money-flow index (MFI).
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

#include "frame/bar_block.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/typical_price.hpp"
#include "frame/window_storage.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array MFI_PARAMS{integer_param("period", 14, 2)};

// period plus the unstable period of the MFI slot; -1 out of range.
std::int32_t mfi_lookback(std::int32_t period);

template <class U>
struct FlowPairOf {
    U positive;
    U negative;
};
using FlowPair = FlowPairOf<double>;

// The bar's money flow, credited to the side its typical price moved to
// against the previous bar's; an unchanged typical price (or a NaN) credits
// neither. A choice, not a branch: the direction follows the prices.
template <class U>
inline FlowPairOf<U> flow_pair(U typical, U previous_typical, U volume) {
    const U flow = typical * volume;
    return {pick(typical > previous_typical, flow, U{}), pick(typical < previous_typical, flow, U{})};
}

// The window of (positive, negative) flow pairs: a circular buffer, stored as
// positive and negative flow side by side (2 * period values), with two
// running sums; each bar subtracts the pair that leaves and adds the one that
// enters, so the cost per bar does not depend on the period.
template <class Window>
class FlowWindow {
public:
    FlowWindow(Window pairs, Index period) : pairs_(std::move(pairs)), period_(period) {}

    // Fills the next position of a window that has not yet wrapped.
    void add(FlowPair pair) {
        store(pair);
        advance();
    }

    // Takes the oldest pair out of the sums and puts the new one in its place.
    void replace(FlowPair pair) {
        positive_sum_ -= pairs_[2 * slot_];
        negative_sum_ -= pairs_[2 * slot_ + 1];
        store(pair);
        advance();
    }

    // The window worked on in locals (the batch path), both sums in two
    // lanes: replace() does what replace(FlowPair) does, and finish() puts
    // the window's position and sums back.
    struct Run {
        double* pairs;
        Index slot;
        Index period;
        Lanes<2> sums;

        void replace(Lanes<2> entering) {
            double* const oldest = pairs + 2 * slot;
            sums = sums - load_lanes<Lanes<2>>(oldest);
            store_lanes(oldest, entering);
            sums = sums + entering;
            if (++slot == period) slot = 0;
        }
    };
    Run start_run() { return {&pairs_[0], slot_, period_, Lanes<2>{positive_sum_, negative_sum_}}; }
    void finish(const Run& run) {
        slot_ = run.slot;
        positive_sum_ = run.sums[0];
        negative_sum_ = run.sums[1];
    }

    // Share of the window's flow that moved upwards, in percent.
    double index() const { return index_of(positive_sum_, negative_sum_); }

    template <class U>
    static U index_of(U positive_sum, U negative_sum) {
        const U total = positive_sum + negative_sum;
        return pick(total < splat<U>(MINIMUM_TOTAL_FLOW), U{}, (positive_sum / total) * splat<U>(100.0));
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(pairs_);
        archive.bounded(slot_, 0, period_ - 1);
        archive(positive_sum_);
        archive(negative_sum_);
    }

private:
    // A window whose total flow lies below this many units of price times
    // volume gives 0.
    static constexpr double MINIMUM_TOTAL_FLOW = 1.0;

    void store(FlowPair pair) {
        pairs_[2 * slot_] = pair.positive;
        pairs_[2 * slot_ + 1] = pair.negative;
        positive_sum_ += pair.positive;
        negative_sum_ += pair.negative;
    }
    void advance() {
        if (++slot_ == period_) slot_ = 0;
    }

    Window pairs_;
    Index period_;
    Index slot_ = 0;
    double positive_sum_ = 0.0;
    double negative_sum_ = 0.0;
};

// The first bar gives only the previous typical price of the second; the
// next `period` bars fill the window, and every later bar replaces its
// oldest pair. The unstable period only moves the first output (and
// lengthens the time the sums are carried), never the window itself.
template <class Window>
class MfiKernel {
public:
    static constexpr int inputs = 4;  // high, low, close, volume
    static constexpr int outputs = 1;

    MfiKernel(std::int32_t period, std::int32_t unstable, Window pairs)
        : flows_(std::move(pairs), period), period_(period), lookback_(Index{period} + unstable),
          filling_(Index{period} + 1), warm_up_(lookback_) {}

    Index history() const { return 1; }
    Index lookback() const { return lookback_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const double typical = typical_price(bars(0, i), bars(1, i), bars(2, i));
        const FlowPair pair = flow_pair(typical, previous_typical_, bars(3, i));
        if (filling_ == 0) {
            flows_.replace(pair);
        } else {
            if (filling_ <= period_) flows_.add(pair);  // not the first bar
            --filling_;
        }
        previous_typical_ = typical;
        if (warm_up_.consume()) return false;
        out[0] = flows_.index();
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double typical = typical_price(bars(0, i), bars(1, i), bars(2, i));
        flows_.replace(flow_pair(typical, previous_typical_, bars(3, i)));
        previous_typical_ = typical;
        out[0] = flows_.index();
    }

    // The batch path, two bars at a time: typical prices, flow pairs and the
    // index in lanes (the divisions of both bars at once), the window's sums
    // bar by bar between them. Each value comes from the operations of
    // steady(), so it has its bits.
    template <int N>
    Index steady_block(const PointerBars<N>& bars, Index i, Index available, double* const* out) {
        const Index n = std::min(available, BAR_BLOCK);
        const double* high = bars.arrays[0] + i;
        const double* low = bars.arrays[1] + i;
        const double* close = bars.arrays[2] + i;
        const double* volume = bars.arrays[3] + i;
        double previous = previous_typical_;
        auto run = flows_.start_run();
        over_pairs(n, [&]<class U>(Index j) {
            const U sum = (load_lanes<U>(high + j) + load_lanes<U>(low + j)) + load_lanes<U>(close + j);
            const U typical = sum / splat<U>(3.0);  // as typical_price()
            U before = typical;
            if constexpr (lane_count<U> == 2) {
                before = __builtin_shufflevector(Lanes<2>{previous, previous}, typical, 0, 2);
                previous = typical[1];
            } else {
                before = previous;
                previous = typical;
            }
            const FlowPairOf<U> pair = flow_pair(typical, before, load_lanes<U>(volume + j));
            if constexpr (lane_count<U> == 2) {
                // Each bar's (positive, negative) pair, and back to each
                // side's two bars: moves of lanes only.
                run.replace(__builtin_shufflevector(pair.positive, pair.negative, 0, 2));
                const Lanes<2> first = run.sums;
                run.replace(__builtin_shufflevector(pair.positive, pair.negative, 1, 3));
                const Lanes<2> second = run.sums;
                store_lanes(out[0] + j, FlowWindow<Window>::index_of(__builtin_shufflevector(first, second, 0, 2),
                                                                     __builtin_shufflevector(first, second, 1, 3)));
            } else {
                run.replace(Lanes<2>{pair.positive, pair.negative});
                out[0][j] = FlowWindow<Window>::index_of(run.sums[0], run.sums[1]);
            }
        });
        flows_.finish(run);
        previous_typical_ = previous;
        return n;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(flows_);
        archive(previous_typical_);
        archive.bounded(filling_, 0, period_ + 1);
        archive(warm_up_);
    }

private:
    FlowWindow<Window> flows_;
    Index period_;
    Index lookback_;
    double previous_typical_ = 0.0;
    Index filling_;  // bars left before the window is full
    WarmUp warm_up_;
};

MfiKernel<OwnedWindow> mfi_kernel(const double* params, const UnstablePeriods& unstable);

// The entry lends the kernel its window; when it cannot be had the call fails
// with nothing written, else the result reads empty until it is reported.
RetCode mfi_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<4, 1>& request);
template <>
inline constexpr EntryForm entry_form<&mfi_kernel>{.clears_outputs = true};
template <>
inline constexpr auto entry_runner<&mfi_kernel> = &mfi_run;

}  // namespace movlex
