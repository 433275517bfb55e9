#include <algorithm>
#include <vector>

#include "output_capture.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

Captured run_trima(const std::vector<double>& input, int first, int last, int period) {
    return capture(std::size_t(last - first + 1), [&](std::int32_t* b, std::int32_t* c, double* out) {
        return MOVLEX_TRIMA(first, last, input.data(), period, b, c, out);
    });
}

// The three running sums, step by step, with odd and even periods written
// out separately.
std::vector<double> reference_trima(const std::vector<double>& x, int first, int last, int period) {
    std::vector<double> out;
    const std::int64_t start = std::max(first, period - 1);
    const std::int64_t t = start - (period - 1);
    const std::int64_t h = period / 2;
    double left = 0.0, right = 0.0, weighted = 0.0;
    if (period % 2 == 1) {
        const double factor = 1.0 / double((h + 1) * (h + 1));
        const std::int64_t m = t + h;
        for (std::int64_t i = m; i >= t; --i) left = left + x[i], weighted = weighted + left;
        for (std::int64_t i = m + 1; i <= start; ++i) right = right + x[i], weighted = weighted + right;
        out.push_back(factor * weighted);
        double oldest = x[t];
        for (std::int64_t i = start + 1, k = 1; i <= last; ++i, ++k) {
            const double entering = x[t + k + h];
            const double next_oldest = x[t + k];
            weighted = ((weighted - left) + right) + x[i];
            out.push_back(factor * weighted);
            left = (left - oldest) + entering;
            oldest = next_oldest;
            right = (right - entering) + x[i];
        }
    } else {
        const double factor = 1.0 / double(h * (h + 1));
        for (std::int64_t i = t + h - 1; i >= t; --i) left = left + x[i], weighted = weighted + left;
        for (std::int64_t i = t + h; i <= start; ++i) right = right + x[i], weighted = weighted + right;
        out.push_back(factor * weighted);
        double oldest = x[t];
        for (std::int64_t i = start + 1, k = 1; i <= last; ++i, ++k) {
            const double moving = x[t + k + h - 1];
            const double next_oldest = x[t + k];
            weighted = ((weighted - left) + (right - moving)) + x[i];
            out.push_back(factor * weighted);
            left = (left - oldest) + moving;
            oldest = next_oldest;
            right = (right - moving) + x[i];
        }
    }
    return out;
}

TEST(Triangular, SmallPeriodsWeighTheWindowAsATriangle) {
    const double a = 1, b = 2, c = 4, d = 8, e = 16;
    const std::vector<double> input = {a, b, c, d, e};
    const Captured two = run_trima(input, 0, 4, 2);
    EXPECT_EQ(two.begin, 1);
    EXPECT_EQ(two.values, (std::vector<double>{1.5, 3, 6, 12}));
    const Captured three = run_trima(input, 0, 4, 3);
    EXPECT_EQ(three.begin, 2);
    EXPECT_EQ(three.values, (std::vector<double>{(a + 2 * b + c) / 4, (b + 2 * c + d) / 4, (c + 2 * d + e) / 4}));
    const Captured four = run_trima(input, 0, 4, 4);
    EXPECT_EQ(four.begin, 3);
    EXPECT_EQ(four.values,
              (std::vector<double>{(1.0 / 6.0) * (a + 2 * b + 2 * c + d), (1.0 / 6.0) * (b + 2 * c + 2 * d + e)}));
}

TEST(Triangular, AgreesBitForBitWithTheRunningSums) {
    const std::vector<double> input = make_series(3000, 11);
    struct Window {
        int first, last, period;
    };
    for (const Window& w : {Window{0, 2999, 2}, Window{0, 2999, 3}, Window{0, 2999, 4}, Window{0, 2999, 5},
                            Window{0, 2999, 30}, Window{0, 2999, 31}, Window{700, 2999, 30}, Window{1777, 1900, 999},
                            Window{0, 2999, 1000}, Window{2999, 2999, 2999}, Window{2998, 2999, 3000}}) {
        const Captured result = run_trima(input, w.first, w.last, w.period);
        ASSERT_EQ(result.rc, RC_OK);
        EXPECT_EQ(result.begin, std::max(w.first, w.period - 1));
        EXPECT_TRUE(same_values(reference_trima(input, w.first, w.last, w.period), result.values.data(),
                                result.values.size()))
            << w.first << ".." << w.last << " period " << w.period;
    }
}

// Weight sums 2500000000 and 2500050000: beyond 32 bits.
TEST(Triangular, LargestPeriodsKeepAConstant) {
    const std::vector<double> input(100100, 42.5);
    for (int period : {99999, 100000}) {
        const Captured result = run_trima(input, 0, int(input.size()) - 1, period);
        ASSERT_EQ(result.rc, RC_OK);
        EXPECT_EQ(result.begin, period - 1);
        for (int k = 0; k < result.count; ++k) ASSERT_EQ(result.values[k], 42.5) << period << " element " << k;
    }
}

// With first_index 0 the first window starts at index 0, so the oldest
// value must be read before output element 0 replaces it.
TEST(Triangular, OutputMayBeTheInputFromIndexZero) {
    const std::vector<double> input = make_series(200, 13);
    for (int period : {2, 3, 4, 9, 10}) {
        const std::vector<double> expected = reference_trima(input, 0, 199, period);
        std::vector<double> in_place = input;
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(MOVLEX_TRIMA(0, 199, in_place.data(), period, &begin, &count, in_place.data()), RC_OK);
        EXPECT_TRUE(same_values(expected, in_place.data(), std::size_t(count))) << "period " << period;
    }
}

TEST(Triangular, RangeShorterThanTheLookback) {
    const std::vector<double> input = make_series(40);
    const Captured result = run_trima(input, 3, 28, 30);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 0);
    EXPECT_EQ(result.count, 0);
}

}  // namespace
}  // namespace movlex::test
