// The dominant cycle of the price as John Ehlers measures it with the Hilbert
// transform ("Rocket Science for Traders", 2001): its period, its phase, the
// phasor's components, the sine wave of the phase, the instantaneous
// trendline and whether the market trends or cycles. The transforms and the
// period estimate are MAMA's (frame/hilbert_transform.hpp).
#pragma once

#include <array>
#include <cstdint>

#include "averages/arc_tangent.hpp"
#include "cycles/cycle_phase.hpp"
#include "frame/hilbert_transform.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array<ParamInfo, 0> CYCLE_PARAMS{};

// Runs MAMA's smoother, transforms and period estimate over the price. The
// first three bars start the smoother, the next nine run it in; from the
// twelfth bar on every bar gives a reading.
template <bool with_phase>
class CycleMeasure {
public:
    CycleMeasure() : smoothed_(LONGEST_CYCLE), degrees_per_radian_(180.0 / (arc_tangent(1.0) * 4.0)) {}

    static constexpr Index history() { return with_phase ? LONGEST_CYCLE : 4; }

    template <class Bars>
    bool step(const Bars& bars, Index i, CycleReading& r) {
        if (seen_ < RUN_IN) {
            if (seen_ == 2) smoother_.start(bars(0, i - 2), bars(0, i - 1), bars(0, i));
            if (seen_ > 2) smoothed_.push(i, smoother_.step(bars(0, i), bars(0, i - 3)));
            ++seen_;
            return false;
        }
        const double adjustment = mesa::transform_adjustment(cycle_.period);
        const double smooth = smoother_.step(bars(0, i), bars(0, i - 3));
        const RingBars<1>& smoothed = smoothed_.push(i, smooth);
        const mesa::Components c = hilbert_.step(smooth, i, adjustment);
        cycle_.update<&arc_tangent>(c, degrees_per_radian_);
        period_ = 0.33 * cycle_.period + 0.67 * period_;
        r.period = period_;
        r.in_phase = c.i1;
        r.quadrature = c.q1;
        if constexpr (with_phase) phase_.read(smoothed, bars, i, degrees_per_radian_, r);
        return true;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(smoother_);
        archive(hilbert_);
        archive(cycle_);
        archive(smoothed_);
        archive(period_);
        if constexpr (with_phase) archive(phase_);
        archive.bounded(seen_, 0, RUN_IN);
    }

private:
    static constexpr Index RUN_IN = 12;

    mesa::PriceSmoother smoother_;
    mesa::HilbertStage hilbert_;
    mesa::CycleState cycle_;
    DerivedSeries smoothed_;
    double degrees_per_radian_;
    double period_ = 0.0;
    CyclePhase phase_;
    Index seen_ = 0;
};

// A reading's outputs from the bar `base + unstable` on (the unstable period
// of the MAMA slot, whose machinery it shares).
template <int M, bool with_phase, Index base, void (*report)(const CycleReading&, double*)>
class CycleKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = M;

    explicit CycleKernel(std::int32_t unstable) : lookback_(base + unstable), warm_up_(base + unstable) {}

    Index history() const { return CycleMeasure<with_phase>::history(); }
    Index lookback() const { return lookback_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        CycleReading r;
        const bool read = measure_.step(bars, i, r);
        if (warm_up_.consume() || !read) return false;
        report(r, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        CycleReading r;
        measure_.step(bars, i, r);
        report(r, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(measure_);
        archive(warm_up_);
    }

private:
    Index lookback_;
    CycleMeasure<with_phase> measure_;
    WarmUp warm_up_;
};

inline void report_period(const CycleReading& r, double* out) { out[0] = r.period; }
inline void report_phasor(const CycleReading& r, double* out) {
    out[0] = r.in_phase;
    out[1] = r.quadrature;
}
inline void report_phase(const CycleReading& r, double* out) { out[0] = r.phase; }
inline void report_sine(const CycleReading& r, double* out) {
    out[0] = r.sine;
    out[1] = r.lead_sine;
}
inline void report_trendline(const CycleReading& r, double* out) { out[0] = r.trendline; }
inline void report_trend(const CycleReading& r, double* out) { out[0] = r.trend; }

// The period and the phasor settle within MAMA's 32 bars; the phase reads
// back up to 50 smoothed prices, all real from bar 63 on.
using CyclePeriodKernel = CycleKernel<1, false, 32, report_period>;
using PhasorKernel = CycleKernel<2, false, 32, report_phasor>;
using CyclePhaseKernel = CycleKernel<1, true, 63, report_phase>;
using SineWaveKernel = CycleKernel<2, true, 63, report_sine>;
using InstantTrendlineKernel = CycleKernel<1, true, 63, report_trendline>;
using TrendModeKernel = CycleKernel<1, true, 63, report_trend>;

template <class Kernel>
Kernel cycle_kernel(const double*, const UnstablePeriods& unstable) {
    return Kernel(unstable[UNSTABLE_MAMA]);
}

}  // namespace movlex
