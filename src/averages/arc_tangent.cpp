// arctan x for x >= 0 (odd symmetry gives the rest), in two passes.
//
// The quick pass settles almost every argument (all but a few in a
// thousand): from 2^-6 to 512, with c a breakpoint near x, arctan x =
// arctan c + arctan t, t = (x - c) / (1 + x c), where arctan c comes from a
// table as two doubles and t, small, costs one plain division. The
// breakpoints lie so close together that t is below 2^-8.6 of the result,
// so the three roundings in t stay below 2^-60 of it. Nearer 0 the series
// of arctan x serves, beyond 512 that of pi/2 - arctan(1/x). When
// everything within the error bound rounds to the same double, that double
// is the nearest one.
//
// The careful pass decides the rest, carried to about 100 bits:
//  - above 1, arctan x = pi/2 - arctan(1/x);
//  - on [0, 1], with c = k/64 the nearest step, arctan y = arctan c +
//    arctan t, t = (y - c) / (1 + y c), |t| <= 1/128, where arctan c comes
//    from a table and arctan t from its series.
// Intermediate values are carried as unevaluated sums of two doubles with
// the exact sum and product steps below, which need no fused multiply-add.
#include "averages/arc_tangent.hpp"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

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
// first two terms carried in full, the rest (below t * 2^-26) in plain
// doubles; good to about 2^-80 of t.
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

// arctan x for 2^-27 <= x <= 2^60 by the careful pass.
double careful_arc_tangent_of_magnitude(double magnitude) {
    // y = x or 1/x, on [0, 1].
    const bool reflect = magnitude > 1.0;
    DoubleDouble y{magnitude, 0.0};
    if (reflect) y = divide(DoubleDouble{1.0, 0.0}, DoubleDouble{magnitude, 0.0});

    const int step = static_cast<int>(y.high * 64.0 + 0.5);  // the nearest step
    const double c = step / 64.0;
    // y - c taken exactly: just below 1/128, y may round to the step 1/64,
    // more than twice y, where the plain difference would round.
    const DoubleDouble numerator = add(exact_sum(y.high, -c), DoubleDouble{y.low, 0.0});
    const DoubleDouble y_times_c = exact_product(y.high, c);
    const DoubleDouble one_plus = exact_sum(1.0, y_times_c.high);
    const DoubleDouble denominator = exact_sum_ordered(one_plus.high, one_plus.low + (y_times_c.low + y.low * c));
    const DoubleDouble t = divide(numerator, denominator);
    const DoubleDouble angle = combine(ARC_TANGENT_OF_STEP[step], small_arc_tangent(t), reflect);
    return angle.high + angle.low;
}

// The quick pass: arctan x as high + low, and a bound on its error.
struct QuickArcTangent {
    double high;
    double low;
    double error_bound;
};

// 2^-27 <= x < 2^-6: x - x^3/3 + ... + x^9/9 - x^11/11, the terms beyond x
// in plain doubles, each a multiple of x^2 <= 2^-12 smaller than the last.
QuickArcTangent quick_near_zero(double x) {
    const double s = x * x;
    const double beyond_x =
        x * s * (-1.0 / 3 + s * (1.0 / 5 + s * (-1.0 / 7 + s * (1.0 / 9 + s * (-1.0 / 11)))));
    // Omitted terms below x 2^-75, the rounding of beyond_x below x 2^-64.
    return {x, beyond_x, x * 0x1p-63};
}

// x >= 512: pi/2 - z + z^3/3 - z^5/5 with z = 1/x <= 2^-9 rounded once.
QuickArcTangent quick_near_infinity(double x) {
    const double z = 1.0 / x;
    const DoubleDouble difference = exact_sum_ordered(HALF_PI.high, -z);
    const double beyond_z = z * z * z * (1.0 / 3 - z * z * (1.0 / 5));
    // z's rounding below 2^-62, the omitted terms below 2^-65.
    return {difference.high, difference.low + (HALF_PI.low + beyond_z), 0x1p-61};
}

// The breakpoints of binade [2^e, 2^(e+1)), e = -6..8: 256 evenly spaced
// ones up to e = -1 (x - c within 2^-9 x), 2^(8-e) above (arctan t within
// 2^-9 of pi/4), each the argument with its lowest `shift` bits cleared.
struct Binade {
    std::uint64_t half;     // half the spacing of the breakpoints, in the bits of an argument
    std::uint64_t kept;     // the bits a breakpoint keeps
    int shift;
    std::uint64_t first;    // the breakpoint 2^e's shifted bits less its index in the table
};

constexpr int LOWEST_EXPONENT = -6;

constexpr std::array<Binade, 15> make_binades() {
    std::array<Binade, 15> binades{};
    std::uint64_t index = 0;
    for (int e = LOWEST_EXPONENT; e <= 8; ++e) {
        const int shift = 44 + (e > 0 ? e : 0);
        const std::uint64_t spacing = std::uint64_t(1) << shift;
        const std::uint64_t bits_of_power = std::uint64_t(1023 + e) << 52;
        binades[e - LOWEST_EXPONENT] = {spacing / 2, ~(spacing - 1), shift, (bits_of_power >> shift) - index};
        index += std::uint64_t(1) << (52 - shift);
    }
    return binades;
}

constexpr std::array<Binade, 15> BINADES = make_binades();

// 2^-6 <= x < 512: arctan c + arctan t, c the nearest breakpoint.
QuickArcTangent quick_near_breakpoint(double x) {
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
    const Binade& binade = BINADES[(bits >> 52) - (1023 + LOWEST_EXPONENT)];
    // Rounded to the nearest breakpoint; rounding up may carry into the
    // next binade, whose first breakpoint is the next entry.
    const std::uint64_t bits_of_c = (bits + binade.half) & binade.kept;
    const double c = std::bit_cast<double>(bits_of_c);
    const DoubleDouble& arc_tangent_of_c = ARC_TANGENT_OF_BREAKPOINT[(bits_of_c >> binade.shift) - binade.first];
    // x - c is exact (x and c lie within a factor of two); the product, the
    // sum and the quotient round once each.
    const double t = (x - c) / (1.0 + x * c);
    const double s = t * t;
    const double beyond_t = t * s * (-1.0 / 3 + s * (1.0 / 5));
    const DoubleDouble sum = exact_sum_ordered(arc_tangent_of_c.high, t);
    // t's three roundings below 3 2^-53 t and the omitted terms below
    // 2^-56 t; the table and the sums far below 2^-90 (the result exceeds
    // 2^-6).
    return {sum.high, sum.low + (arc_tangent_of_c.low + beyond_t), std::fabs(t) * 0x1p-51 + 0x1p-90};
}

// Whether everything within the error bound of high + low rounds to one
// double, and that double.
bool settled(const QuickArcTangent& quick, double& result) {
    const double upper = quick.high + (quick.low + quick.error_bound);
    const double lower = quick.high + (quick.low - quick.error_bound);
    result = upper;
    return upper == lower;
}

// arctan x for x >= 0 by the given passes.
template <bool QUICK>
double arc_tangent_of_magnitude(double magnitude) {
    double result;
    if (QUICK && magnitude >= 0x1p-6 && magnitude < 512.0) {  // the common case first
        if (settled(quick_near_breakpoint(magnitude), result)) return result;
        return careful_arc_tangent_of_magnitude(magnitude);
    }
    if (magnitude < 0x1p-27) return magnitude;  // arctan x = x (1 - x^2/3 + ...), and x^2/3 is below half an ulp
    if (magnitude > 0x1p60) return HALF_PI.high;  // pi/2 - 1/x, and 1/x is below half an ulp of pi/2
    if (QUICK && settled(magnitude < 0x1p-6 ? quick_near_zero(magnitude) : quick_near_infinity(magnitude), result))
        return result;
    return careful_arc_tangent_of_magnitude(magnitude);
}

template <bool QUICK>
double signed_arc_tangent(double x) {
    if (std::isnan(x)) return x;
    // The result of the magnitude is positive (or +0), and takes the sign of x.
    return std::copysign(arc_tangent_of_magnitude<QUICK>(std::fabs(x)), x);
}

}  // namespace

double arc_tangent(double x) { return signed_arc_tangent<true>(x); }

double careful_arc_tangent(double x) { return signed_arc_tangent<false>(x); }

}  // namespace movlex
