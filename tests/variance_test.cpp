#include <algorithm>
#include <cmath>
#include <vector>

#include "output_capture.hpp"
#include "statistics/variance.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

Captured run_var(const std::vector<double>& input, int first, int last, int period, double deviations = DEFAULT_REAL) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* out) {
        return MOVLEX_VAR(first, last, input.data(), period, deviations, b, c, out);
    });
}

Captured run_stddev(const std::vector<double>& input, int first, int last, int period,
                    double deviations = DEFAULT_REAL) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* out) {
        return MOVLEX_STDDEV(first, last, input.data(), period, deviations, b, c, out);
    });
}

// The running sums in the documented order: add the newest, take the means,
// remove the oldest, then subtract.
std::vector<double> reference_var(const std::vector<double>& x, int first, int last, int period) {
    std::vector<double> out;
    const std::int64_t start = std::max(first, period - 1);
    std::int64_t trailing = start - (period - 1);
    double sum = 0.0, sumsq = 0.0;
    for (std::int64_t i = trailing; i < start; ++i) {
        sum = sum + x[i];
        sumsq = sumsq + x[i] * x[i];
    }
    for (std::int64_t today = start; today <= last; ++today) {
        sum = sum + x[today];
        sumsq = sumsq + x[today] * x[today];
        const double mean = sum / period;
        const double meansq = sumsq / period;
        sum = sum - x[trailing];
        sumsq = sumsq - x[trailing] * x[trailing];
        ++trailing;
        out.push_back(meansq - mean * mean);
    }
    return out;
}

TEST(Variance, TextbookSeriesHasVarianceFourAndDeviationTwo) {
    const std::vector<double> input = {2, 4, 4, 4, 5, 5, 7, 9};
    const Captured variance = run_var(input, 7, 7, 8);
    ASSERT_EQ(variance.rc, RC_OK);
    EXPECT_EQ(variance.begin, 7);
    EXPECT_EQ(variance.values, std::vector<double>{4.0});
    const Captured deviation = run_stddev(input, 7, 7, 8);
    ASSERT_EQ(deviation.rc, RC_OK);
    EXPECT_EQ(deviation.values, std::vector<double>{2.0});
    EXPECT_EQ(run_stddev(input, 7, 7, 8, -1.0).values, std::vector<double>{-2.0});
    EXPECT_EQ(run_stddev(input, 7, 7, 8, 2.5).values, std::vector<double>{5.0});
}

TEST(Variance, AgreesBitForBitWithTheRunningSums) {
    const std::vector<double> input = make_series(2000, 5);
    for (int period : {1, 2, 5, 31, 1000}) {
        for (int first : {0, 1500}) {
            const Captured variance = run_var(input, first, 1999, period);
            ASSERT_EQ(variance.rc, RC_OK);
            EXPECT_EQ(variance.begin, std::max(first, period - 1));
            EXPECT_TRUE(same_values(reference_var(input, first, 1999, period), variance.values.data(),
                                    variance.values.size()))
                << "period " << period << " first " << first;
        }
    }
}

TEST(Variance, PeriodOneGivesZeroAndDeviationsIsIgnored) {
    const std::vector<double> input = make_series(40, 6);
    const Captured one = run_var(input, 0, 39, 1);
    ASSERT_EQ(one.rc, RC_OK);
    EXPECT_EQ(one.begin, 0);
    EXPECT_EQ(one.values, std::vector<double>(40, 0.0));

    const Captured plain = run_var(input, 0, 39, 5, DEFAULT_REAL);
    for (double deviations : {2.5, -3e37, 0.0}) {
        const Captured scaled = run_var(input, 0, 39, 5, deviations);
        ASSERT_EQ(scaled.rc, RC_OK);
        EXPECT_TRUE(same_values(plain.values, scaled.values.data(), scaled.values.size())) << deviations;
    }
    EXPECT_EQ(run_var(input, 0, 39, 5, 4e37).rc, RC_BAD_ARGUMENT);
    EXPECT_EQ(run_stddev(input, 0, 39, 1).rc, RC_BAD_ARGUMENT);
}

// Three equal values of 0.1 leave a negative residue in the running sums.
// VAR reports it as it is; STDDEV floors it to 0.
TEST(Variance, RoundingResidueIsNotClampedByVarButFlooredByStddev) {
    const std::vector<double> input = {0.1, 0.1, 0.1};
    const Captured variance = run_var(input, 2, 2, 3);
    ASSERT_EQ(variance.count, 1);
    EXPECT_LT(variance.values[0], 0.0);
    EXPECT_EQ(variance.values[0], reference_var(input, 2, 2, 3)[0]);
    EXPECT_TRUE(same_bits(run_stddev(input, 2, 2, 3).values.at(0), 0.0));

    const std::vector<double> tens(20, 10.0);
    EXPECT_EQ(run_var(tens, 0, 19, 5).values, std::vector<double>(16, 0.0));
    EXPECT_EQ(run_stddev(tens, 0, 19, 5).values, std::vector<double>(16, 0.0));
}

// The pair 0, 2e-4 has a variance of exactly 1e-8, which is square-rooted;
// with the upper value one step lower it falls below and gives 0.
TEST(Variance, StddevFloorIsStrictlyBelowOneE8) {
    const std::vector<double> at_floor = {0.0, 2e-4};
    ASSERT_EQ(run_var(at_floor, 1, 1, 2).values, std::vector<double>{1e-8});
    EXPECT_EQ(run_stddev(at_floor, 1, 1, 2).values, std::vector<double>{std::sqrt(1e-8)});
    EXPECT_EQ(run_stddev(at_floor, 1, 1, 2, 3.0).values, std::vector<double>{std::sqrt(1e-8) * 3.0});

    const std::vector<double> below = {0.0, std::nextafter(2e-4, 0.0)};
    ASSERT_LT(run_var(below, 1, 1, 2).values.at(0), 1e-8);
    EXPECT_EQ(run_stddev(below, 1, 1, 2).values, std::vector<double>{0.0});
}

TEST(Variance, StddevIsTheScaledRootOfVar) {
    const std::vector<double> input = make_series(300, 8);
    const Captured variance = run_var(input, 10, 299, 20);
    const Captured deviation = run_stddev(input, 10, 299, 20, -1.5);
    ASSERT_EQ(deviation.begin, 19);
    ASSERT_EQ(deviation.count, variance.count);
    for (int k = 0; k < deviation.count; ++k) ASSERT_EQ(deviation.values[k], std::sqrt(variance.values[k]) * -1.5);
}

TEST(Variance, ShortRangeAndOutputAsInput) {
    const std::vector<double> input = make_series(60, 3);
    const Captured empty = run_stddev(input, 0, 3, 5);
    ASSERT_EQ(empty.rc, RC_OK);
    EXPECT_EQ(empty.begin, 0);
    EXPECT_EQ(empty.count, 0);

    for (auto entry : {&MOVLEX_VAR, &MOVLEX_STDDEV}) EXPECT_TRUE(same_in_place(entry, input, 5, 2.0));
}

}  // namespace
}  // namespace movlex::test
