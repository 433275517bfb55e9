// arctan x for x >= 0 (odd symmetry gives the rest):
//  - above 1, arctan x = pi/2 - arctan(1/x);
//  - on [0, 1], with c = k/64 the nearest step, arctan y = arctan c +
//    arctan t, t = (y - c) / (1 + y c), |t| <= 1/128, where arctan c comes
//    from a table and arctan t from its series.
// Intermediate values are carried as unevaluated sums of two doubles with
// the exact sum and product steps below, which need no fused multiply-add.
#include "averages/arc_tangent.hpp"

#include <cmath>

#include "frame/exactness.hpp"

namespace movlex {

namespace {

struct DoubleDouble {
    double high;
    double low;
};

#include "averages/arc_tangent_table.inc"

// a + b exactly, as high + low.
DoubleDouble exact_sum(double a, double b) {
    const double sum = a + b;
    const double b_part = sum - a;
    return {sum, (a - (sum - b_part)) + (b - b_part)};
}

// a + b exactly where |a| >= |b|.
DoubleDouble exact_sum_ordered(double a, double b) {
    const double sum = a + b;
    return {sum, b - (sum - a)};
}

// a * b exactly, splitting each factor into two halves of 26 bits.
DoubleDouble exact_product(double a, double b) {
    constexpr double SPLITTER = 134217729.0;  // 2^27 + 1
    const double a_scaled = SPLITTER * a;
    const double a_high = a_scaled - (a_scaled - a);
    const double a_low = a - a_high;
    const double b_scaled = SPLITTER * b;
    const double b_high = b_scaled - (b_scaled - b);
    const double b_low = b - b_high;
    const double product = a * b;
    return {product, ((a_high * b_high - product) + a_high * b_low + a_low * b_high) + a_low * b_low};
}

DoubleDouble add(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble sum = exact_sum(a.high, b.high);
    return exact_sum_ordered(sum.high, sum.low + (a.low + b.low));
}

DoubleDouble negate(DoubleDouble a) { return {-a.high, -a.low}; }

DoubleDouble multiply(DoubleDouble a, DoubleDouble b) {
    const DoubleDouble product = exact_product(a.high, b.high);
    return exact_sum_ordered(product.high, product.low + (a.high * b.low + a.low * b.high));
}

// numerator / denominator: one division for the reciprocal; the remainder of
// the leading quotient, taken exactly, gives the correction.
DoubleDouble divide(DoubleDouble numerator, DoubleDouble denominator) {
    const double reciprocal = 1.0 / denominator.high;
    const double quotient = numerator.high * reciprocal;
    const DoubleDouble back = exact_product(quotient, denominator.high);
    const double remainder =
        (((numerator.high - back.high) - back.low) + numerator.low) - quotient * denominator.low;
    return exact_sum_ordered(quotient, remainder * reciprocal);
}

constexpr DoubleDouble ONE_THIRD = {0x1.5555555555555p-2, 0x1.5555555555555p-56};

// arctan t for |t| <= 1/128 + a little: t - t^3/3 + t^5/5 - ..., the
// terms beyond t in plain doubles; good to about 2^-66 of t.
DoubleDouble quick_small_arc_tangent(DoubleDouble t) {
    const double s = t.high * t.high;
    const double beyond_t =
        t.high * s * (-1.0 / 3 + s * (1.0 / 5 + s * (-1.0 / 7 + s * (1.0 / 9 + s * (-1.0 / 11 + s * (1.0 / 13))))));
    return exact_sum_ordered(t.high, t.low + beyond_t);
}

// The same series with the first two terms carried in full, the rest
// (below t * 2^-26) in plain doubles; good to about 2^-80 of t.
DoubleDouble small_arc_tangent(DoubleDouble t) {
    const DoubleDouble square = multiply(t, t);
    const double s = square.high;
    const double tail = s * (1.0 / 5 + s * (-1.0 / 7 + s * (1.0 / 9 + s * (-1.0 / 11 + s * (1.0 / 13)))));
    const DoubleDouble third = multiply(multiply(square, t), ONE_THIRD);
    const DoubleDouble cube_term = exact_sum_ordered(-third.high, -third.low + t.high * s * tail);
    return add(t, cube_term);
}

// arctan y = arctan c + arctan t, reflected to pi/2 - arctan y for x > 1.
DoubleDouble combine(DoubleDouble arc_tangent_of_step, DoubleDouble arc_tangent_of_t, bool reflect) {
    const DoubleDouble angle = add(arc_tangent_of_step, arc_tangent_of_t);
    return reflect ? add(HALF_PI, negate(angle)) : angle;
}

}  // namespace

double arc_tangent(double x) {
    if (std::isnan(x)) return x;
    const bool negative = std::signbit(x);
    const double magnitude = std::fabs(x);
    double result;
    if (magnitude < 0x1p-27) {
        result = magnitude;  // arctan x = x (1 - x^2/3 + ...), and x^2/3 is below half an ulp
    } else if (magnitude > 0x1p60) {
        result = HALF_PI.high;  // pi/2 - 1/x, and 1/x is below half an ulp of pi/2
    } else {
        // y = x or 1/x, on [0, 1].
        const bool reflect = magnitude > 1.0;
        DoubleDouble y{magnitude, 0.0};
        if (reflect) y = divide(DoubleDouble{1.0, 0.0}, DoubleDouble{magnitude, 0.0});

        const int step = static_cast<int>(y.high * 64.0 + 0.5);  // the nearest step
        const double c = step / 64.0;
        // y - c is exact in its leading part (y and c lie within a factor of two).
        const DoubleDouble numerator = exact_sum(y.high - c, y.low);
        const DoubleDouble y_times_c = exact_product(y.high, c);
        const DoubleDouble one_plus = exact_sum(1.0, y_times_c.high);
        const DoubleDouble denominator =
            exact_sum_ordered(one_plus.high, one_plus.low + (y_times_c.low + y.low * c));
        const DoubleDouble t = divide(numerator, denominator);

        // Most arguments are settled by the quick series: when everything
        // within its error bound (2^-64 of the result, four times what it
        // can be) rounds to the same double, that double is the nearest one.
        // Otherwise the full series decides.
        DoubleDouble angle = combine(ARC_TANGENT_OF_STEP[step], quick_small_arc_tangent(t), reflect);
        const double bound = std::fabs(angle.high) * 0x1p-64;
        const double upper = angle.high + (angle.low + bound);
        const double lower = angle.high + (angle.low - bound);
        if (upper == lower) {
            result = upper;
        } else {
            angle = combine(ARC_TANGENT_OF_STEP[step], small_arc_tangent(t), reflect);
            result = angle.high + angle.low;
        }
    }
    return negative ? -result : result;
}

}  // namespace movlex
