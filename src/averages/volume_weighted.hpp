// Volume-weighted averages: the sum of price * volume over the sum of volume,
// over a sliding window (VWMA of the input, rolling VWAP of the typical
// price) or over every bar from the first one fed (VWAP). When the volume
// summed is within 1e-8 of zero there is nothing to weight by, and the
// result is the bar's own price.
#pragma once

#include <array>
#include <cstdint>

#include "directional/bar_measures.hpp"
#include "frame/kernel.hpp"
#include "frame/kernel_parts.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "frame/typical_price.hpp"

namespace movlex {

inline constexpr std::array VWMA_PARAMS{integer_param("period", 20, 1)};
inline constexpr auto& VWAP_ROLLING_PARAMS = VWMA_PARAMS;
inline constexpr std::array<ParamInfo, 0> VWAP_PARAMS{};

// The price and volume of a bar of (input, volume) ...
struct InputPrice {
    static constexpr int inputs = 2;
    static constexpr int volume = 1;
    template <class Bars>
    static double price(const Bars& bars, Index i) {
        return bars(0, i);
    }
};

// ... and of (high, low, close, volume): the typical price.
struct TypicalPrice {
    static constexpr int inputs = 4;
    static constexpr int volume = 3;
    template <class Bars>
    static double price(const Bars& bars, Index i) {
        return typical_price(bars(0, i), bars(1, i), bars(2, i));
    }
};

// The running sums of price * volume and of volume.
struct VolumeWeightedSums {
    double weighted = 0.0;
    double volume = 0.0;

    void add(double price, double volume_of_bar) {
        weighted += price * volume_of_bar;
        volume += volume_of_bar;
    }
    void remove(double price, double volume_of_bar) {
        weighted -= price * volume_of_bar;
        volume -= volume_of_bar;
    }
    double average(double price) const { return inside_near_zero_band(volume) ? price : weighted / volume; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(weighted);
        archive(volume);
    }
};

// Over the last `period` bars: the newest bar is added, the average taken,
// then the oldest bar removed (its product formed again from its inputs).
template <class Price>
class WindowVolumeWeightedKernel {
public:
    static constexpr int inputs = Price::inputs;
    static constexpr int outputs = 1;

    explicit WindowVolumeWeightedKernel(std::int32_t period) : period_(period), warm_up_(period - 1) {}

    Index history() const { return period_; }
    Index lookback() const { return period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) {
            sums_.add(Price::price(bars, i), bars(Price::volume, i));
            return false;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double price = Price::price(bars, i);
        sums_.add(price, bars(Price::volume, i));
        const Index oldest = i - (period_ - 1);
        const double leaving_price = Price::price(bars, oldest);
        const double leaving_volume = bars(Price::volume, oldest);
        out[0] = sums_.average(price);
        sums_.remove(leaving_price, leaving_volume);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sums_);
        archive(warm_up_);
    }

private:
    Index period_;
    VolumeWeightedSums sums_;
    WarmUp warm_up_;
};

// From the first bar fed (the first bar of the request) on, every bar kept.
class VwapKernel : public EachBarKernel<VwapKernel> {
public:
    static constexpr int inputs = 4;
    static constexpr int outputs = 1;

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double price = TypicalPrice::price(bars, i);
        sums_.add(price, bars(TypicalPrice::volume, i));
        out[0] = sums_.average(price);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(sums_);
    }

private:
    VolumeWeightedSums sums_;
};

using VwmaKernel = WindowVolumeWeightedKernel<InputPrice>;
using RollingVwapKernel = WindowVolumeWeightedKernel<TypicalPrice>;

VwmaKernel vwma_kernel(const double* params, const UnstablePeriods& unstable);
VwapKernel vwap_kernel(const double* params, const UnstablePeriods& unstable);
RollingVwapKernel vwap_rolling_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
