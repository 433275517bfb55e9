// MESA adaptive moving average and its following average FAMA.
#pragma once

#include <array>
#include <cstdint>

#include "averages/arc_tangent.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array MAMA_PARAMS{real_param("fast_limit", 0.5, 0.01, 0.99),
                                        real_param("slow_limit", 0.05, 0.01, 0.99)};

// 32 plus the unstable period of the MAMA slot, whatever the limits; -1 for a
// limit out of range.
std::int32_t mama_lookback(double fast_limit, double slow_limit);

// Either output may be input.
RetCode mama_compute(std::int32_t first_index, std::int32_t last_index, const double* input, double fast_limit,
                     double slow_limit, std::int32_t* out_begin, std::int32_t* out_count, double* out_mama,
                     double* out_fama);

// One bar's update of the smoothed dominant cycle period from the smoothed
// real and imaginary parts of the bar-to-bar phasor product; degrees_per_radian
// converts the arc tangent.
double mama_next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian);

namespace mesa {

inline constexpr double HILBERT_A = 0.0962;
inline constexpr double HILBERT_B = 0.5769;

// The 4-bar weighted average (4, 3, 2, 1 tenths, newest first), carried as a
// weighted sum and the plain sum of the values it holds.
class PriceSmoother {
public:
    PriceSmoother() = default;
    // Starts on three consecutive values, oldest first.
    void start(double first, double second, double third) {
        plain_ = (first + second) + third;
        weighted_ = first + 2.0 * second + 3.0 * third;
    }

    // The next value and the value three bars before it.
    double step(double value, double three_back) {
        plain_ = (plain_ + value) - trailing_value_;
        trailing_value_ = three_back;
        weighted_ = weighted_ + value * 4.0;
        const double smoothed = weighted_ * 0.1;
        weighted_ = weighted_ - plain_;
        return smoothed;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(plain_);
        archive(weighted_);
        archive(trailing_value_);
    }

private:
    double plain_ = 0.0;
    double weighted_ = 0.0;
    double trailing_value_ = 0.0;
};

// One parity's delay line of a Hilbert transform: A times the input of its
// last three bars (bars of one parity lie two apart, so the oldest is six
// bars back) in a circular store, the input two bars back, and B times the
// input four bars back.
struct HilbertLine {
    double a_products[3] = {};
    double input_two_back = 0.0;
    double b_product_four_back = 0.0;

    // (((A v - A p6) - B p4) + B p2) * adjustment
    double filter(double value, int slot, double adjustment) {
        const double a_product = HILBERT_A * value;
        const double b_product = HILBERT_B * input_two_back;
        const double result = (((a_product - a_products[slot]) - b_product_four_back) + b_product) * adjustment;
        a_products[slot] = a_product;
        b_product_four_back = b_product;
        input_two_back = value;
        return result;
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (double& product : a_products) archive(product);
        archive(input_two_back);
        archive(b_product_four_back);
    }
};

struct Components {
    double q1, i1, ji, jq;
};

// The four transforms (detrender, Q1, jI, jQ), each with one delay line for
// even and one for odd input indices. One slot index serves all eight
// circular stores and advances after every even bar.
class HilbertStage {
public:
    Components step(double smoothed, Index today, double adjustment) {
        const int parity = static_cast<int>(today & 1);
        Components c;
        const double detrender = detrender_[parity].filter(smoothed, slot_, adjustment);
        c.q1 = q1_[parity].filter(detrender, slot_, adjustment);
        c.i1 = detrenders_[oldest_];  // the detrender three bars back
        c.ji = ji_[parity].filter(c.i1, slot_, adjustment);
        c.jq = jq_[parity].filter(c.q1, slot_, adjustment);
        if (parity == 0) slot_ = (slot_ + 1) % 3;
        detrenders_[oldest_] = detrender;
        oldest_ = (oldest_ + 1) % 3;
        return c;
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (auto* lines : {detrender_, q1_, ji_, jq_})
            for (int parity = 0; parity < 2; ++parity) archive(lines[parity]);
        archive.bounded(slot_, 0, 2);
        for (double& detrender : detrenders_) archive(detrender);
        archive.bounded(oldest_, 0, 2);
    }

private:
    HilbertLine detrender_[2], q1_[2], ji_[2], jq_[2];
    std::int32_t slot_ = 0;
    double detrenders_[3] = {};
    std::int32_t oldest_ = 0;
};

// Everything the bar loop carries apart from the smoother and the transforms.
struct MesaState {
    double previous_q2 = 0.0, previous_i2 = 0.0;
    double real_part = 0.0, imaginary_part = 0.0;
    double period = 0.0;
    double previous_phase = 0.0;
    double mama = 0.0, fama = 0.0;

    template <class Archive>
    void visit(Archive& archive) {
        for (double* field : {&previous_q2, &previous_i2, &real_part, &imaginary_part, &period, &previous_phase, &mama,
                              &fama})
            archive(*field);
    }
};

// The smoothing factor of a bar: fast_limit for a phase change up to 1
// degree, else fast_limit / change, but never below slow_limit.
inline double smoothing_factor(double phase_change, double fast_limit, double slow_limit) {
    if (phase_change <= 1.0) return fast_limit;
    const double alpha = fast_limit / phase_change;
    return alpha < slow_limit ? slow_limit : alpha;
}

// The smoothed cycle period after a bar: the phasor's angle in degrees gives
// the period it shows, held within 0.67 .. 1.5 times the previous period and
// 6 .. 50 bars, then smoothed in.
template <double (*arc_tangent_of)(double)>
double next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian) {
    double next = period;
    if (imaginary_part != 0.0 && real_part != 0.0)
        next = 360.0 / (arc_tangent_of(imaginary_part / real_part) * degrees_per_radian);
    if (next > 1.5 * period) next = 1.5 * period;
    if (next < 0.67 * period) next = 0.67 * period;
    if (next < 6.0)
        next = 6.0;
    else if (next > 50.0)
        next = 50.0;
    return 0.2 * next + 0.8 * period;
}

// Steps 4 onwards of one bar, after the transforms: the phase and the two
// averages of `price`, then the phasor and cycle-period updates.
template <double (*arc_tangent_of)(double)>
void advance_bar(MesaState& s, const Components& c, double price, double fast_limit, double slow_limit,
                 double degrees_per_radian) {
    const double q2 = (c.ji + c.q1) * 0.2 + 0.8 * s.previous_q2;
    const double i2 = (c.i1 - c.jq) * 0.2 + 0.8 * s.previous_i2;

    const double phase = c.i1 != 0.0 ? arc_tangent_of(c.q1 / c.i1) * degrees_per_radian : 0.0;
    const double phase_change = s.previous_phase - phase;
    s.previous_phase = phase;
    const double alpha = smoothing_factor(phase_change, fast_limit, slow_limit);
    s.mama = (1.0 - alpha) * s.mama + alpha * price;
    s.fama = (1.0 - 0.5 * alpha) * s.fama + 0.5 * alpha * s.mama;

    s.real_part = 0.2 * (i2 * s.previous_i2 + q2 * s.previous_q2) + 0.8 * s.real_part;
    s.imaginary_part = 0.2 * (i2 * s.previous_q2 - q2 * s.previous_i2) + 0.8 * s.imaginary_part;
    s.previous_q2 = q2;
    s.previous_i2 = i2;
    s.period = next_cycle_period<arc_tangent_of>(s.period, s.real_part, s.imaginary_part, degrees_per_radian);
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
        const double adjustment = 0.075 * state_.period + 0.54;
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
