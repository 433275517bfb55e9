// Commodity channel index (CCI).
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/typical_price.hpp"
#include "frame/window_storage.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array CCI_PARAMS{integer_param("period", 14, 2)};

std::int32_t cci_lookback(std::int32_t period);

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

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
        archive.bounded(slot_, 0, period_ - 1);
        archive(warm_up_);
    }

private:
    static constexpr double SCALE = 0.015;

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
