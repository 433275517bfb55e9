// MAMA smooths the price with a factor that follows the bar-to-bar change of
// the phase of the dominant price cycle. The price is smoothed by a 4-bar
// weighted average, Hilbert transforms split it into in-phase and quadrature
// components, and their arc tangent gives the phase: the smaller the phase
// change, the larger the factor, between slow_limit and fast_limit. FAMA
// follows MAMA with half the factor. The same components feed a smoothed
// estimate of the cycle period, which scales the transforms of the next bar.
//
// MAMA's batch computation with the arc tangent as a parameter, for the
// benchmark that sets the library's arc tangent against the runtime's inside
// MAMA. The library's own MAMA is its kernel (averages/mesa.hpp); this copy
// exists only to be timed beside it.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "averages/mesa.hpp"  // MAMA_PARAMS
#include "frame/contract.hpp"
#include "frame/library_state.hpp"
#include "movlex.h"

namespace movlex::bench_mama {


constexpr Index BASE_LOOKBACK = 32;
constexpr double HILBERT_A = 0.0962;
constexpr double HILBERT_B = 0.5769;

inline Index mama_lookback_value() { return BASE_LOOKBACK + unstable_period(UNSTABLE_MAMA); }

// The 4-bar weighted average (4, 3, 2, 1 tenths, newest first), carried as a
// weighted sum and the plain sum of the values it holds.
class PriceSmoother {
public:
    // Starts on input[first], input[first + 1], input[first + 2].
    PriceSmoother(const double* input, Index first)
        : input_(input),
          plain_((input[first] + input[first + 1]) + input[first + 2]),
          weighted_(input[first] + 2.0 * input[first + 1] + 3.0 * input[first + 2]),
          trailing_index_(first) {}

    double step(double value) {
        plain_ = (plain_ + value) - trailing_value_;
        trailing_value_ = input_[trailing_index_++];
        weighted_ = weighted_ + value * 4.0;
        const double smoothed = weighted_ * 0.1;
        weighted_ = weighted_ - plain_;
        return smoothed;
    }

private:
    const double* input_;
    double plain_;
    double weighted_;
    double trailing_value_ = 0.0;
    Index trailing_index_;
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

private:
    HilbertLine detrender_[2], q1_[2], ji_[2], jq_[2];
    int slot_ = 0;
    double detrenders_[3] = {};
    int oldest_ = 0;
};

// Everything the bar loop carries apart from the smoother and the transforms.
struct MesaState {
    double previous_q2 = 0.0, previous_i2 = 0.0;
    double real_part = 0.0, imaginary_part = 0.0;
    double period = 0.0;
    double previous_phase = 0.0;
    double mama = 0.0, fama = 0.0;
};

inline double smoothing_factor(double phase_change, double fast_limit, double slow_limit) {
    if (phase_change <= 1.0) return fast_limit;
    const double alpha = fast_limit / phase_change;
    return alpha < slow_limit ? slow_limit : alpha;
}

// One bar's update of the smoothed dominant cycle period (see
// mama_next_cycle_period).
template <double (*ArcTangent)(double)>
double next_cycle_period(double period, double real_part, double imaginary_part, double degrees_per_radian) {
    double next = period;
    if (imaginary_part != 0.0 && real_part != 0.0)
        next = 360.0 / (ArcTangent(imaginary_part / real_part) * degrees_per_radian);
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
template <double (*ArcTangent)(double)>
void advance_bar(MesaState& s, const Components& c, double price, double fast_limit, double slow_limit,
                 double degrees_per_radian) {
    const double q2 = (c.ji + c.q1) * 0.2 + 0.8 * s.previous_q2;
    const double i2 = (c.i1 - c.jq) * 0.2 + 0.8 * s.previous_i2;

    const double phase = c.i1 != 0.0 ? ArcTangent(c.q1 / c.i1) * degrees_per_radian : 0.0;
    const double phase_change = s.previous_phase - phase;
    s.previous_phase = phase;
    const double alpha = smoothing_factor(phase_change, fast_limit, slow_limit);
    s.mama = (1.0 - alpha) * s.mama + alpha * price;
    s.fama = (1.0 - 0.5 * alpha) * s.fama + 0.5 * alpha * s.mama;

    s.real_part = 0.2 * (i2 * s.previous_i2 + q2 * s.previous_q2) + 0.8 * s.real_part;
    s.imaginary_part = 0.2 * (i2 * s.previous_q2 - q2 * s.previous_i2) + 0.8 * s.imaginary_part;
    s.previous_q2 = q2;
    s.previous_i2 = i2;
    s.period = next_cycle_period<ArcTangent>(s.period, s.real_part, s.imaginary_part, degrees_per_radian);
}

// MAMA with the given arc tangent: the library's own (mama_compute), or
// another for comparison.
template <double (*ArcTangent)(double)>
RetCode compute(std::int32_t first_index, std::int32_t last_index, const double* input, double fast_limit,
               double slow_limit, std::int32_t* out_begin, std::int32_t* out_count, double* out_mama,
               double* out_fama) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(MAMA_PARAMS, fast_limit, slow_limit)
                           .outputs(out_mama, out_fama)
                           .result();
    if (rc != RC_OK) return rc;

    const double degrees_per_radian = 180.0 / (ArcTangent(1.0) * 4.0);
    const Index lookback = mama_lookback_value();
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    *out_begin = static_cast<std::int32_t>(start);

    // The filters start from zero at t; the bars up to start - 1 are run-in.
    // At bar `today` only input[today] and input[today - 3] are read, and
    // output element k belongs to bar start + k, so an output may be input.
    const Index t = start - lookback;
    PriceSmoother smoother(input, t);
    for (Index i = t + 3; i <= t + 11; ++i) smoother.step(input[i]);

    HilbertStage hilbert;
    MesaState state;
    Index k = 0;
    for (Index today = t + 12; today <= last_index; ++today) {
        const double price = input[today];
        const double adjustment = 0.075 * state.period + 0.54;
        const double smoothed = smoother.step(price);
        const Components components = hilbert.step(smoothed, today, adjustment);
        advance_bar<ArcTangent>(state, components, price, fast_limit, slow_limit, degrees_per_radian);
        if (today >= start) {
            out_mama[k] = state.mama;
            out_fama[k] = state.fama;
            ++k;
        }
    }
    *out_count = static_cast<std::int32_t>(k);
    return RC_OK;
}

}  // namespace movlex::bench_mama
