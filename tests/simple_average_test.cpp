#include <algorithm>
#include <vector>

#include "averages/simple.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

// Straightforward loops in the documented order of operations; the library's
// running sums must agree with them to the last bit.
std::vector<double> reference_sma(const std::vector<double>& x, int first, int last, int period) {
    std::vector<double> out;
    const int start = std::max(first, period - 1);
    int trailing = start - (period - 1);
    double sum = 0.0;
    for (int i = trailing; i < start; ++i) sum = sum + x[i];
    for (int i = start; i <= last; ++i) {
        sum = sum + x[i];
        out.push_back(sum / period);
        sum = sum - x[trailing++];
    }
    return out;
}

std::vector<double> reference_wma(const std::vector<double>& x, int first, int last, int period) {
    std::vector<double> out;
    const int start = std::max(first, period - 1);
    int trailing = start - (period - 1);
    double weighted = 0.0, plain = 0.0;
    for (int j = 0; j < period - 1; ++j) {
        weighted = weighted + x[trailing + j] * double(j + 1);
        plain = plain + x[trailing + j];
    }
    const double divider = double(std::int64_t(period) * (period + 1) / 2);
    double trailing_value = 0.0;
    for (int i = start; i <= last; ++i) {
        const double next = x[trailing++];
        weighted = weighted + x[i] * double(period);
        out.push_back(weighted / divider);
        plain = (plain + x[i]) - trailing_value;
        weighted = weighted - plain;
        trailing_value = next;
    }
    return out;
}

TEST(SimpleAverages, SmallExamples) {
    std::int32_t begin = -1, count = -1;
    std::vector<double> out(4);
    const std::vector<double> three = {1, 2, 3};
    ASSERT_EQ(MOVLEX_SMA(0, 2, three.data(), 2, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 1);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(out[0], 1.5);
    EXPECT_EQ(out[1], 2.5);

    const std::vector<double> four = {1, 2, 3, 4};
    ASSERT_EQ(MOVLEX_WMA(0, 3, four.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(out[0], 14.0 / 6.0);
    EXPECT_EQ(out[1], 20.0 / 6.0);
}

TEST(SimpleAverages, OneWindowAtFortyIsTheMeanOfElevenToForty) {
    const std::vector<double> input = make_series(60);
    std::int32_t begin = -1, count = -1;
    double out[1];
    ASSERT_EQ(MOVLEX_SMA(40, 40, input.data(), 30, &begin, &count, out), RC_OK);
    EXPECT_EQ(begin, 40);
    EXPECT_EQ(count, 1);
    double sum = 0.0;
    for (int i = 11; i <= 40; ++i) sum += input[i];
    EXPECT_EQ(out[0], sum / 30);
}

struct Window {
    int first, last, period;
};

TEST(SimpleAverages, AgreeBitForBitWithTheReferenceLoops) {
    const std::vector<double> input = make_series(3000, 3);
    for (const Window& w : {Window{0, 2999, 2}, Window{0, 2999, 3}, Window{0, 2999, 30}, Window{500, 2999, 30},
                            Window{1234, 1500, 977}, Window{0, 2999, 2999}, Window{2999, 2999, 2}}) {
        std::vector<double> out(std::size_t(w.last - w.first + 1));
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(MOVLEX_SMA(w.first, w.last, input.data(), w.period, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, std::max(w.first, w.period - 1));
        EXPECT_TRUE(same_values(reference_sma(input, w.first, w.last, w.period), out.data(), std::size_t(count)))
            << "SMA " << w.first << ".." << w.last << " period " << w.period;
        ASSERT_EQ(MOVLEX_WMA(w.first, w.last, input.data(), w.period, &begin, &count, out.data()), RC_OK);
        EXPECT_TRUE(same_values(reference_wma(input, w.first, w.last, w.period), out.data(), std::size_t(count)))
            << "WMA " << w.first << ".." << w.last << " period " << w.period;
    }
}

TEST(SimpleAverages, LargestPeriodsKeepAConstant) {
    const std::vector<double> input(100200, 42.5);
    std::vector<double> out(input.size());
    std::int32_t begin = -1, count = -1;
    for (int period : {50000, 100000}) {
        ASSERT_EQ(MOVLEX_WMA(0, std::int32_t(input.size() - 1), input.data(), period, &begin, &count, out.data()),
                  RC_OK);
        EXPECT_EQ(begin, period - 1);
        for (int k = 0; k < count; ++k) ASSERT_EQ(out[k], 42.5) << "period " << period << " element " << k;
        ASSERT_EQ(MOVLEX_SMA(0, std::int32_t(input.size() - 1), input.data(), period, &begin, &count, out.data()),
                  RC_OK);
        for (int k = 0; k < count; ++k) ASSERT_EQ(out[k], 42.5) << "period " << period << " element " << k;
    }
}

}  // namespace
}  // namespace movlex::test
