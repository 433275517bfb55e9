// The phase of the dominant cycle and what follows from it: the sine wave,
// the instantaneous trendline and the trend-or-cycle mode (John Ehlers,
// "Rocket Science for Traders", 2001, the sine wave and trend chapters).
#pragma once

#include <cmath>

#include "averages/arc_tangent.hpp"
#include "frame/kernel.hpp"
#include "frame/sine.hpp"

namespace movlex {

// What one bar's measurement gives.
struct CycleReading {
    double period;      // the smoothed dominant cycle period
    double in_phase;    // I1
    double quadrature;  // Q1
    double phase;       // the dominant cycle phase, degrees
    double sine, lead_sine;
    double trendline;
    double trend;  // 1 trend, 0 cycle
};

// The longest cycle the period estimate gives, and so the most bars the phase
// and the trendline read back.
inline constexpr Index LONGEST_CYCLE = 50;

class CyclePhase {
public:
    CyclePhase() : trends_(4) {}

    // Completes r (whose period is set) from smoothed(0, j), the smoothed
    // prices, and prices(0, j), for the last LONGEST_CYCLE bars up to i.
    template <class Smoothed, class Prices>
    void read(const Smoothed& smoothed, const Prices& prices, Index i, double degrees_per_radian,
              CycleReading& r) {
        // One cycle's worth of bars: the period rounded, within 1 .. 50 (a
        // period that is not a number, from bad prices, reads one bar). The
        // bounds apply before the conversion, which is defined only in range.
        const double rounded = r.period + 0.5;
        const Index length = !(rounded >= 1.0)                          ? 1
                             : rounded >= static_cast<double>(LONGEST_CYCLE) ? LONGEST_CYCLE
                                                                        : static_cast<Index>(rounded);
        const double bars = static_cast<double>(length);

        // The cycle's Fourier component over those bars, and their mean price.
        double real = 0.0, imaginary = 0.0, sum = 0.0;
        for (Index k = 0; k < length; ++k) {
            const double angle = (360.0 * static_cast<double>(k)) / bars;
            const double value = smoothed(0, i - k);
            real += sine_degrees(angle) * value;
            imaginary += cosine_degrees(angle) * value;
            sum += prices(0, i - k);
        }

        double phase;
        if (imaginary != 0.0)
            phase = arc_tangent(real / imaginary) * degrees_per_radian;
        else
            phase = real > 0.0 ? 90.0 : (real < 0.0 ? -90.0 : 0.0);
        phase += 90.0;
        phase += 360.0 / r.period;  // the smoother's lag of one bar
        if (imaginary < 0.0) phase += 180.0;
        if (phase > 315.0) phase -= 360.0;
        const double sine = sine_degrees(phase);
        const double lead_sine = sine_degrees(phase + 45.0);

        const double trend_now = sum / bars;
        const RingBars<1>& trends = trends_.push(i, trend_now);
        const double trendline =
            (((4.0 * trend_now + 3.0 * trends(0, i - 1)) + 2.0 * trends(0, i - 2)) + trends(0, i - 3)) / 10.0;

        double trend = 1.0;
        if ((sine > lead_sine && sine_ <= lead_sine_) || (sine < lead_sine && sine_ >= lead_sine_)) {
            days_in_trend_ = 0.0;
            trend = 0.0;
        }
        days_in_trend_ += 1.0;
        if (days_in_trend_ < 0.5 * r.period) trend = 0.0;
        const double advance = phase - phase_;
        if (advance > 0.67 * 360.0 / r.period && advance < 1.5 * 360.0 / r.period) trend = 0.0;
        const double smooth = smoothed(0, i);
        if (trendline != 0.0 && std::fabs((smooth - trendline) / trendline) >= 0.015) trend = 1.0;

        phase_ = phase;
        sine_ = sine;
        lead_sine_ = lead_sine;
        r.phase = phase;
        r.sine = sine;
        r.lead_sine = lead_sine;
        r.trendline = trendline;
        r.trend = trend;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(trends_);
        for (double* field : {&phase_, &sine_, &lead_sine_, &days_in_trend_}) archive(*field);
    }

private:
    DerivedSeries trends_;  // the instantaneous trend, before its smoothing
    double phase_ = 0.0;
    double sine_ = 0.0, lead_sine_ = 0.0;
    double days_in_trend_ = 0.0;
};

}  // namespace movlex
