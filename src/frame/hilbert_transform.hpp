// The Hilbert-transform machinery of John Ehlers' cycle measurements
// ("Rocket Science for Traders", 2001): a 4-bar smoother of the price, the
// transforms that split it into in-phase and quadrature components, and the
// homodyne estimate of the dominant cycle period they feed. MAMA
// (averages/mesa.hpp) and the cycle indicators (cycles/) share it.
#pragma once

#include <cstdint>

#include "frame/contract.hpp"

namespace movlex {

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

// What the cycle measurement carries from bar to bar: the smoothed
// components of the previous bar, the smoothed phasor product and the
// dominant cycle period.
struct CycleState {
    double previous_q2 = 0.0, previous_i2 = 0.0;
    double real_part = 0.0, imaginary_part = 0.0;
    double period = 0.0;

    // The components' smoothed values, the product of this bar's phasor with
    // the previous bar's (smoothed), and the period it shows.
    template <double (*arc_tangent_of)(double)>
    void update(const Components& c, double degrees_per_radian) {
        const double q2 = (c.ji + c.q1) * 0.2 + 0.8 * previous_q2;
        const double i2 = (c.i1 - c.jq) * 0.2 + 0.8 * previous_i2;
        real_part = 0.2 * (i2 * previous_i2 + q2 * previous_q2) + 0.8 * real_part;
        imaginary_part = 0.2 * (i2 * previous_q2 - q2 * previous_i2) + 0.8 * imaginary_part;
        previous_q2 = q2;
        previous_i2 = i2;
        period = next_cycle_period<arc_tangent_of>(period, real_part, imaginary_part, degrees_per_radian);
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (double* field : {&previous_q2, &previous_i2, &real_part, &imaginary_part, &period}) archive(*field);
    }
};

// The transforms' scaling for a bar, from the previous bar's period.
inline double transform_adjustment(double period) { return 0.075 * period + 0.54; }

}  // namespace mesa

}  // namespace movlex
