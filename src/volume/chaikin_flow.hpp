// Chaikin money flow: the money-flow volume of the window over its volume.
#pragma once

#include <array>
#include <cstdint>

#include "averages/simple.hpp"
#include "frame/channel_bars.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "volume/accumulation.hpp"

namespace movlex {

inline constexpr std::array CMF_PARAMS{integer_param("period", 20, 1)};

// The bar's money-flow volume is the accumulation/distribution line's
// contribution (0 for a bar without range). The result is SMA(period) of it
// over SMA(period) of the volume, the window sums' ratio, both means taken by
// the simple average's running sums; a window whose mean volume is 0 gives 0.
class CmfKernel {
public:
    static constexpr int inputs = 4;  // high, low, close, volume
    static constexpr int outputs = 1;

    explicit CmfKernel(std::int32_t period) : flow_(period), volume_(period), flow_series_(period) {}

    Index history() const { return volume_.history(); }
    Index lookback() const { return volume_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double flow = 0.0, volume = 0.0;
        flow_.step(flow_series_.push(i, flow_volume(bars, i)), i, &flow);
        if (!volume_.step(channel_of(bars, 3), i, &volume)) return false;
        out[0] = ratio(flow, volume);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double flow, volume;
        flow_.steady(flow_series_.push(i, flow_volume(bars, i)), i, &flow);
        volume_.steady(channel_of(bars, 3), i, &volume);
        out[0] = ratio(flow, volume);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(flow_);
        archive(volume_);
        archive(flow_series_);
    }

private:
    template <class Bars>
    static double flow_volume(const Bars& bars, Index i) {
        const double high = bars(0, i), low = bars(1, i);
        return moves_line(high, low) ? line_contribution(high, low, bars(2, i), bars(3, i)) : 0.0;
    }
    static double ratio(double flow, double volume) { return volume == 0.0 ? 0.0 : flow / volume; }

    SmaKernel flow_, volume_;
    DerivedSeries flow_series_;
};

CmfKernel cmf_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
