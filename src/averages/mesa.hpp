// MESA adaptive moving average and its following average FAMA.
#pragma once

#include <array>
#include <cstdint>

#include "averages/arc_tangent.hpp"
#include "frame/hilbert_transform.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array MAMA_PARAMS{real_param("fast_limit", 0.5, 0.01, 0.99),
                                        real_param("slow_limit", 0.05, 0.01, 0.99)};

// One bar's update of the smoothed dominant cycle period from the smoothed
// real and imaginary parts of the bar-to-bar phasor product; degrees_per_radian
// converts the arc tangent.
double mama_next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian);

namespace mesa {

// Everything MAMA carries apart from the smoother and the transforms.
struct MesaState {
    CycleState cycle;
    double previous_phase = 0.0;
    double mama = 0.0, fama = 0.0;

    template <class Archive>
    void visit(Archive& archive) {
        archive(cycle);
        for (double* field : {&previous_phase, &mama, &fama}) archive(*field);
    }
};

// The smoothing factor of a bar: fast_limit for a phase change up to 1
// degree, else fast_limit / change, but never below slow_limit.
inline double smoothing_factor(double phase_change, double fast_limit, double slow_limit) {
    if (phase_change <= 1.0) return fast_limit;
    const double alpha = fast_limit / phase_change;
    return alpha < slow_limit ? slow_limit : alpha;
}

// Steps 4 onwards of one bar, after the transforms: the phase and the two
// averages of `price`, then the cycle measurement.
template <double (*arc_tangent_of)(double)>
void advance_bar(MesaState& s, const Components& c, double price, double fast_limit, double slow_limit,
                 double degrees_per_radian) {
    const double phase = c.i1 != 0.0 ? arc_tangent_of(c.q1 / c.i1) * degrees_per_radian : 0.0;
    const double phase_change = s.previous_phase - phase;
    s.previous_phase = phase;
    const double alpha = smoothing_factor(phase_change, fast_limit, slow_limit);
    s.mama = (1.0 - alpha) * s.mama + alpha * price;
    s.fama = (1.0 - 0.5 * alpha) * s.fama + 0.5 * alpha * s.mama;
    s.cycle.update<arc_tangent_of>(c, degrees_per_radian);
}

}  // namespace mesa

// The filters start from zero: the first three bars start the price
// smoother, the next nine run it in, and from the twelfth bar on every bar
// runs the whole chain. At bar i only the price of bar i and of bar i - 3 is
// read. Outputs MAMA and FAMA. The library's MAMA takes its own arc tangent
// (MamaKernel); a benchmark sets another beside it.
template <double (*arc_tangent_of)(double)>
class MamaKernelWith {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 2;

    MamaKernelWith(double fast_limit, double slow_limit, std::int32_t unstable)
        : fast_limit_(fast_limit),
          slow_limit_(slow_limit),
          degrees_per_radian_(180.0 / (arc_tangent_of(1.0) * 4.0)),
          unstable_(unstable),
          warm_up_(BASE_LOOKBACK + unstable) {}

    Index history() const { return 4; }
    Index lookback() const { return BASE_LOOKBACK + unstable_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (seen_ < RUN_IN) {
            if (seen_ == 2) smoother_.start(bars(0, i - 2), bars(0, i - 1), bars(0, i));
            if (seen_ > 2) smoother_.step(bars(0, i), bars(0, i - 3));
            ++seen_;
            warm_up_.consume();
            return false;
        }
        advance(bars(0, i), bars(0, i - 3), i);
        if (warm_up_.consume()) return false;
        out[0] = state_.mama;
        out[1] = state_.fama;
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        advance(bars(0, i), bars(0, i - 3), i);
        out[0] = state_.mama;
        out[1] = state_.fama;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(smoother_);
        archive(hilbert_);
        archive(state_);
        archive.bounded(seen_, 0, RUN_IN);
        archive(warm_up_);
    }

    static constexpr Index BASE_LOOKBACK = 32;

private:
    static constexpr Index RUN_IN = 12;  // bars before the first full one

    // One full bar: price is the bar's price, three_back that of bar today - 3.
    void advance(double price, double three_back, Index today) {
        const double adjustment = mesa::transform_adjustment(state_.cycle.period);
        const double smoothed = smoother_.step(price, three_back);
        const mesa::Components components = hilbert_.step(smoothed, today, adjustment);
        mesa::advance_bar<arc_tangent_of>(state_, components, price, fast_limit_, slow_limit_, degrees_per_radian_);
    }

    double fast_limit_, slow_limit_;
    double degrees_per_radian_;
    Index unstable_;
    mesa::PriceSmoother smoother_;
    mesa::HilbertStage hilbert_;
    mesa::MesaState state_;
    Index seen_ = 0;
    WarmUp warm_up_;
};

using MamaKernel = MamaKernelWith<&arc_tangent>;

MamaKernel mama_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
