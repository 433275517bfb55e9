#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "output_capture.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

Captured run_max(const std::vector<double>& input, int first, int last, int period) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* out) {
        return MOVLEX_MAX(first, last, input.data(), period, b, c, out);
    });
}

Captured run_min(const std::vector<double>& input, int first, int last, int period) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* out) {
        return MOVLEX_MIN(first, last, input.data(), period, b, c, out);
    });
}

std::vector<double> negated(std::vector<double> values) {
    for (double& v : values) v = -v;
    return values;
}

TEST(Extremes, PeriodTwoGivesTheLargerAndSmallerNeighbour) {
    const std::vector<double> input = {3, 1, 4, 1, 5, 9, 2, 6};
    const Captured highest = run_max(input, 0, 7, 2);
    ASSERT_EQ(highest.rc, RC_OK);
    EXPECT_EQ(highest.begin, 1);
    EXPECT_EQ(highest.values, (std::vector<double>{3, 4, 4, 5, 9, 9, 6}));
    const Captured lowest = run_min(input, 0, 7, 2);
    ASSERT_EQ(lowest.rc, RC_OK);
    EXPECT_EQ(lowest.begin, 1);
    EXPECT_EQ(lowest.values, (std::vector<double>{1, 1, 1, 1, 5, 2, 2}));
}

TEST(Extremes, SingleRequestedIndexIsTheExtremeOfItsWindow) {
    const std::vector<double> input = make_series(100, 4);
    const Captured highest = run_max(input, 60, 60, 30);
    ASSERT_EQ(highest.rc, RC_OK);
    EXPECT_EQ(highest.begin, 60);
    ASSERT_EQ(highest.count, 1);
    EXPECT_EQ(highest.values[0], *std::max_element(input.begin() + 31, input.begin() + 61));
    const Captured lowest = run_min(input, 60, 60, 30);
    EXPECT_EQ(lowest.values[0], *std::min_element(input.begin() + 31, input.begin() + 61));
}

// Outputs agree with a plain scan of every window, for windows whose
// extreme leaves at every step (falling series for MAX) as well as random
// data with repeated values.
TEST(Extremes, AgreeWithAPlainScanOfEveryWindow) {
    std::vector<double> random = make_series(600, 9);
    for (double& v : random) v = std::round(v);  // many ties
    std::vector<double> falling(300);
    for (std::size_t i = 0; i < falling.size(); ++i) falling[i] = 1000.0 - double(i);
    for (const std::vector<double>* series : {&random, &falling}) {
        for (int period : {2, 3, 17, 30, 250}) {
            for (int first : {0, 5, 260}) {
                const int last = int(series->size()) - 1;
                const Captured highest = run_max(*series, first, last, period);
                const Captured lowest = run_min(*series, first, last, period);
                ASSERT_EQ(highest.rc, RC_OK);
                ASSERT_EQ(highest.begin, std::max(first, period - 1));
                ASSERT_EQ(lowest.begin, highest.begin);
                for (int k = 0; k < highest.count; ++k) {
                    const auto window_begin = series->begin() + (highest.begin + k - period + 1);
                    const auto window_end = series->begin() + (highest.begin + k + 1);
                    ASSERT_EQ(highest.values[k], *std::max_element(window_begin, window_end)) << period << " " << k;
                    ASSERT_EQ(lowest.values[k], *std::min_element(window_begin, window_end)) << period << " " << k;
                }
            }
        }
    }
}

TEST(Extremes, ConstantInputGivesTheConstant) {
    const std::vector<double> input(80, 7.25);
    const Captured highest = run_max(input, 0, 79, 10);
    const Captured lowest = run_min(input, 0, 79, 10);
    EXPECT_EQ(highest.values, std::vector<double>(71, 7.25));
    EXPECT_EQ(lowest.values, std::vector<double>(71, 7.25));
}

// The tie rules show through a NaN: a NaN is output only at a step whose
// rescan it opens as the oldest value of the window, so the values around
// it reveal when the rescans happen. MIN sees the negated series.
struct TieCase {
    const char* name;
    std::vector<double> input;  // for MAX
    int period;
    std::vector<double> expected;  // MAX output from index period - 1
};

TEST(Extremes, TieRulesAndNaN) {
    const std::vector<TieCase> cases = {
        // A rescan remembers the earliest of equal values (index 0, not 2),
        // so the next step rescans from index 1 and outputs its NaN; the step
        // after rescans from the index after the NaN.
        {"rescan keeps the earliest", {5, NaN, 5, 1, 0}, 3, {5, NaN, 5}},
        // A new value equal to the extreme takes its place (index 3), so no
        // rescan starts at the NaN of index 2.
        {"newest equal value moves forward", {1, 5, NaN, 5, 0, 0}, 3, {5, 5, 5, 5}},
        // A NaN that enters the window never replaces the extreme.
        {"entering NaN ignored", {1, 2, 3, NaN, 2}, 3, {3, 3, 3}},
        {"NaN oldest at a rescan is output", {NaN, 1, 2, 3}, 2, {NaN, 2, 3}},
    };
    for (const TieCase& c : cases) {
        const int last = int(c.input.size()) - 1;
        const Captured highest = run_max(c.input, 0, last, c.period);
        ASSERT_EQ(highest.rc, RC_OK) << c.name;
        EXPECT_EQ(highest.begin, c.period - 1) << c.name;
        EXPECT_TRUE(same_values(c.expected, highest.values.data(), highest.values.size())) << c.name;
        const Captured lowest = run_min(negated(c.input), 0, last, c.period);
        EXPECT_TRUE(same_values(negated(c.expected), lowest.values.data(), lowest.values.size())) << c.name;
    }
}

TEST(Extremes, ShortRangeAndOutputAsInput) {
    const std::vector<double> input = make_series(50, 2);
    const Captured empty = run_max(input, 0, 28, 30);
    ASSERT_EQ(empty.rc, RC_OK);
    EXPECT_EQ(empty.begin, 0);
    EXPECT_EQ(empty.count, 0);

    for (auto entry : {&MOVLEX_MAX, &MOVLEX_MIN}) EXPECT_TRUE(same_in_place(entry, input, 4));
}

}  // namespace
}  // namespace movlex::test
