// Lines carried from bar to bar by the close and the volume: the price-volume
// trend and Fosback's negative and positive volume indexes.
#pragma once

#include <array>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array VOLUME_INDEX_PARAMS{real_param("start", 1000.0, 0.0)};

// line + ((close - previous) / previous) * volume; unchanged against a
// previous close of 0.
inline double price_volume_step(double line, double close, double previous_close, double volume, double) {
    if (previous_close == 0.0) return line;
    return line + ((close - previous_close) / previous_close) * volume;
}

// The line moves by its own percent change of the close, line * ((close -
// previous) / previous), on bars whose volume is below (negative index) or
// above (positive index) the previous bar's; else, or against a previous
// close of 0, it stays.
template <bool on_lower_volume>
double volume_index_step(double line, double close, double previous_close, double volume, double previous_volume) {
    const bool moves = on_lower_volume ? volume < previous_volume : volume > previous_volume;
    if (!moves || previous_close == 0.0) return line;
    return line + line * ((close - previous_close) / previous_close);
}

// The line from `start` at the first bar fed (which gives its value there);
// every later bar moves it by `step` against the previous bar. Inputs close,
// volume. As with AD, values depend on where the request starts.
template <double (*step_of)(double, double, double, double, double)>
class VolumeLineKernel {
public:
    static constexpr int inputs = 2;
    static constexpr int outputs = 1;

    explicit VolumeLineKernel(double start) : line_(start) {}

    Index history() const { return 1; }
    Index lookback() const { return 0; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (!started_) {
            started_ = true;
            remember(bars, i);
            out[0] = line_;
            return true;
        }
        steady(bars, i, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        line_ = step_of(line_, bars(0, i), previous_close_, bars(1, i), previous_volume_);
        remember(bars, i);
        out[0] = line_;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(started_);
        archive(line_);
        archive(previous_close_);
        archive(previous_volume_);
    }

private:
    template <class Bars>
    void remember(const Bars& bars, Index i) {
        previous_close_ = bars(0, i);
        previous_volume_ = bars(1, i);
    }

    bool started_ = false;
    double line_;
    double previous_close_ = 0.0;
    double previous_volume_ = 0.0;
};

using PvtKernel = VolumeLineKernel<price_volume_step>;
using NviKernel = VolumeLineKernel<volume_index_step<true>>;
using PviKernel = VolumeLineKernel<volume_index_step<false>>;

inline PvtKernel pvt_kernel(const double*, const UnstablePeriods&) { return PvtKernel(0.0); }
inline NviKernel nvi_kernel(const double* params, const UnstablePeriods&) { return NviKernel(params[0]); }
inline PviKernel pvi_kernel(const double* params, const UnstablePeriods&) { return PviKernel(params[0]); }

}  // namespace movlex
