#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "averages/t3.hpp"
#include "core_lookbacks.hpp"  // generated
#include "output_capture.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

Captured run_t3(const std::vector<double>& input, int first, int last, int period, double factor) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* out) {
        return MOVLEX_T3(first, last, input.data(), period, factor, b, c, out);
    });
}

struct Weights {
    double c1, c2, c3, c4;  // of e6, e5, e4, e3
};

Weights weights_of(double v) {
    const double v2 = v * v;
    const double c1 = -(v2 * v);
    return {c1, (v2 - c1) * 3, v2 * (-6) - (v - c1) * 3, ((v * 3 + 1) - c1) + v2 * 3};
}

// The seeds written out stage by stage, then the cascade.
std::vector<double> reference_t3(const std::vector<double>& x, int first, int last, int period, const Weights& w,
                                 int unstable) {
    std::vector<double> out;
    const std::int64_t lb = 6 * std::int64_t(period - 1) + unstable;
    const std::int64_t start = std::max<std::int64_t>(first, lb);
    const double k = 2.0 / (period + 1.0), k1 = 1.0 - k;
    std::array<double, 6> e{};
    std::int64_t today = start - lb;
    auto run_stages = [&](double price, std::size_t stages) {
        e[0] = k * price + k1 * e[0];
        for (std::size_t s = 1; s < stages; ++s) e[s] = k * e[s - 1] + k1 * e[s];
    };
    double sum = 0.0;
    for (int n = 0; n < period; ++n) sum += x[today++];
    e[0] = sum / period;
    for (std::size_t stage = 1; stage < 6; ++stage) {
        double s = e[stage - 1];
        for (int n = 0; n < period - 1; ++n) {
            run_stages(x[today++], stage);
            s += e[stage - 1];
        }
        e[stage] = s / period;
    }
    for (int n = 0; n < unstable; ++n) run_stages(x[today++], 6);  // today reaches start + 1
    auto combine = [&] { return ((w.c1 * e[5] + w.c2 * e[4]) + w.c3 * e[3]) + w.c4 * e[2]; };
    out.push_back(combine());
    while (today <= last) {
        run_stages(x[today++], 6);
        out.push_back(combine());
    }
    return out;
}

TEST(T3, DefaultFirstOutputAtTwentyFour) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(60, 4);
    const Captured result = run_t3(input, 0, 59, DEFAULT_INT, DEFAULT_REAL);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 24);
    EXPECT_EQ(result.count, 36);
    EXPECT_TRUE(same_values(reference_t3(input, 0, 59, 5, weights_of(0.7), 0), result.values.data(), 36));
    const Captured empty = run_t3(input, 0, 23, DEFAULT_INT, DEFAULT_REAL);
    ASSERT_EQ(empty.rc, RC_OK);
    EXPECT_EQ(empty.begin, 0);
    EXPECT_EQ(empty.count, 0);
    EXPECT_EQ(t3_lookback(2, 0.7), 6);
}

// Factor 0 leaves only e3; factor 1 weighs e6..e3 with -1, 6, -12, 8.
TEST(T3, VolumeFactorBoundsGiveTheirCoefficients) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(300, 17);
    const Captured plain = run_t3(input, 0, 299, 4, 0.0);
    EXPECT_TRUE(same_values(reference_t3(input, 0, 299, 4, {0, 0, 0, 1}, 0), plain.values.data(), plain.values.size()));
    const Captured full = run_t3(input, 0, 299, 4, 1.0);
    EXPECT_TRUE(
        same_values(reference_t3(input, 0, 299, 4, {-1, 6, -12, 8}, 0), full.values.data(), full.values.size()));
    EXPECT_EQ(run_t3(input, 0, 299, 4, -0.01).rc, RC_BAD_ARGUMENT);
    EXPECT_EQ(run_t3(input, 0, 299, 4, 1.01).rc, RC_BAD_ARGUMENT);
}

TEST(T3, AgreesBitForBitWithTheStepsInBothLibraryStates) {
    const std::vector<double> input = make_series(3000, 23);
    struct Window {
        int first, last, period;
        double factor;
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const int unstable = initialised ? 150 : 0;
        for (const Window& w : {Window{0, 2999, 2, 0.7}, Window{0, 2999, 5, 0.7}, Window{0, 2999, 9, 0.33},
                                Window{800, 2999, 5, 0.7}, Window{0, 2999, 400, 0.9}, Window{2990, 2999, 3, 0.5}}) {
            const Captured result = run_t3(input, w.first, w.last, w.period, w.factor);
            ASSERT_EQ(result.rc, RC_OK);
            const int lookback = 6 * (w.period - 1) + unstable;
            EXPECT_EQ(t3_lookback(w.period, w.factor), lookback);
            EXPECT_EQ(result.begin, std::max(w.first, lookback));
            EXPECT_TRUE(same_values(reference_t3(input, w.first, w.last, w.period, weights_of(w.factor), unstable),
                                    result.values.data(), result.values.size()))
                << w.first << ".." << w.last << " period " << w.period << (initialised ? " initialised" : "");
        }
    }
}

// Every stage equals the constant; the coefficients add up to 1, so only the
// rounding of the combination remains.
TEST(T3, ConstantInputGivesTheConstant) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input(200, 10.0);
    for (int period : {2, 5, 20}) {
        for (double factor : {0.0, 0.7, 1.0}) {
            const Captured result = run_t3(input, 0, 199, period, factor);
            ASSERT_EQ(result.rc, RC_OK);
            for (double value : result.values) ASSERT_NEAR(value, 10.0, 1e-12) << period << " " << factor;
        }
    }
}

TEST(T3, OutputMayBeTheInputFromIndexZero) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(120, 6);
    std::vector<double> in_place = input;
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_T3(0, 119, in_place.data(), 3, 0.7, &begin, &count, in_place.data()), RC_OK);
    EXPECT_TRUE(same_values(reference_t3(input, 0, 119, 3, weights_of(0.7), 0), in_place.data(), std::size_t(count)));
}

}  // namespace
}  // namespace movlex::test
