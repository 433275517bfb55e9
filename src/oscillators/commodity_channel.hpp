// Commodity channel index (CCI).
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
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

inline constexpr std::array CCI_PARAMS{integer_param("period", 14, 2)};

// The last `period` typical prices live in a circular buffer, the first bar
// fed in slot 0; the mean and the mean absolute deviation are summed over the
// whole buffer for every output, in slot order (once the buffer has wrapped,
// slot 0 no longer holds the oldest bar, and the order of the additions shows
// in the last bits). So each bar costs O(period).
template <class Window>
class CciKernel {
public:
    static constexpr int inputs = 3;  // high, low, close
    static constexpr int outputs = 1;

    CciKernel(std::int32_t period, Window window)
        : period_(period), divisor_(static_cast<double>(period)), window_(std::move(window)),
          warm_up_(Index{period} - 1) {}

    Index history() const { return 1; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!warm_up_.consume()) {
            steady(bars, i, out);
            return true;
        }
        window_[slot_] = typical_price(bars(0, i), bars(1, i), bars(2, i));
        advance();
        return false;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double typical = typical_price(bars(0, i), bars(1, i), bars(2, i));
        window_[slot_] = typical;
        const double mean = slot_order_sum() / divisor_;
        const double deviation = slot_order_deviation(mean);
        const double distance = typical - mean;
        out[0] = (distance == 0.0 || deviation == 0.0) ? 0.0 : distance / ((deviation / divisor_) * SCALE);
        advance();
    }

    // Several bars at once, one per lane: the bars that take slots slot_
    // onwards up to the last slot, at most LANES of them. Lane l sums its own
    // window in slot order, as steady() does: the slots before slot_ and
    // after the block's hold the same bars for every lane; a slot of the
    // block holds its new bar for the lanes of that bar and later ones, its
    // old bar for the earlier ones.
    template <class Bars>
    Index steady_block(const Bars& bars, Index i, Index available, double* const* out) {
        using V = BlockLanes;
        constexpr int W = lane_count<V>, VECTORS = LANES / W;
        const Index n = std::min({available, Index{LANES}, period_ - slot_});
        const Index end = slot_ + n;
        double typical[LANES], own_slot[LANES];
        for (Index l = 0; l < LANES; ++l) {
            // Lanes past the block repeat its last bar.
            const Index j = i + std::min(l, n - 1);
            typical[l] = typical_price(bars(0, j), bars(1, j), bars(2, j));
            own_slot[l] = double(slot_ + std::min(l, n - 1));
        }
        // Calls add(v, value of the slot in the lanes of vector v) for every
        // slot in order.
        const auto in_slot_order = [&](auto add) {
            for (Index slot = 0; slot < slot_; ++slot)
                for (int v = 0; v < VECTORS; ++v) add(v, splat<V>(window_[slot]));
            for (Index slot = slot_; slot < end; ++slot)
                for (int v = 0; v < VECTORS; ++v)
                    add(v, pick(load_lanes<V>(own_slot + v * W) >= splat<V>(double(slot)),
                                splat<V>(typical[slot - slot_]), splat<V>(window_[slot])));
            for (Index slot = end; slot < period_; ++slot)
                for (int v = 0; v < VECTORS; ++v) add(v, splat<V>(window_[slot]));
        };
        V sum[VECTORS], mean[VECTORS], deviation[VECTORS];
        for (int v = 0; v < VECTORS; ++v) sum[v] = deviation[v] = splat<V>(0.0);
        in_slot_order([&sum](int v, V value) { sum[v] += value; });
        for (int v = 0; v < VECTORS; ++v) mean[v] = sum[v] / divisor_;
        in_slot_order([&deviation, &mean](int v, V value) { deviation[v] += magnitude(value - mean[v]); });
        double values[LANES];
        const V zero = splat<V>(0.0);
        for (int v = 0; v < VECTORS; ++v) {
            const V distance = load_lanes<V>(typical + v * W) - mean[v];
            store_lanes(values + v * W, pick((distance == zero) | (deviation[v] == zero), zero,
                                             distance / ((deviation[v] / divisor_) * SCALE)));
        }
        for (Index l = 0; l < n; ++l) {
            out[0][l] = values[l];
            window_[slot_] = typical[l];
            advance();
        }
        return n;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
        archive.bounded(slot_, 0, period_ - 1);
        archive(warm_up_);
    }

private:
    static constexpr double SCALE = 0.015;
    static constexpr int LANES = 8;

    double slot_order_sum() const {
        double sum = 0.0;
        for (Index slot = 0; slot < period_; ++slot) sum += window_[slot];
        return sum;
    }

    double slot_order_deviation(double mean) const {
        double sum = 0.0;
        for (Index slot = 0; slot < period_; ++slot) sum += std::fabs(window_[slot] - mean);
        return sum;
    }

    void advance() {
        if (++slot_ == period_) slot_ = 0;
    }

    Index period_;
    double divisor_;
    Window window_;
    Index slot_ = 0;
    WarmUp warm_up_;
};

CciKernel<OwnedWindow> cci_kernel(const double* params, const UnstablePeriods& unstable);

// The entry lends the kernel its window, taken only when there is something
// to compute; when it cannot be had the call fails with nothing written.
RetCode cci_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<3, 1>& request);
template <>
inline constexpr EntryForm entry_form<&cci_kernel>{.lookback_before_storage = &window_lookback};
template <>
inline constexpr auto entry_runner<&cci_kernel> = &cci_run;

}  // namespace movlex
