#include <vector>

#include "averages/selector.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Bands {
    RetCode rc;
    std::int32_t begin = -1, count = -1;
    std::vector<double> upper, middle, lower;
};

Bands bands(const std::vector<double>& input, std::int32_t first, std::int32_t last, std::int32_t period, double up,
            double down, std::int32_t type) {
    Bands result;
    const std::size_t n = std::size_t(last - first + 1);
    result.upper.assign(n, 0.0);
    result.middle.assign(n, 0.0);
    result.lower.assign(n, 0.0);
    result.rc = MOVLEX_BBANDS(first, last, input.data(), period, up, down, type, &result.begin, &result.count,
                              result.upper.data(), result.middle.data(), result.lower.data());
    return result;
}

TEST(BollingerBands, EightValueExample) {
    const std::vector<double> input = {2, 4, 4, 4, 5, 5, 7, 9};
    const Bands result = bands(input, 7, 7, 8, 2.0, 2.0, MA_SMA);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 7);
    ASSERT_EQ(result.count, 1);
    EXPECT_EQ(result.middle[0], 5.0);
    EXPECT_EQ(result.upper[0], 9.0);
    EXPECT_EQ(result.lower[0], 1.0);

    const Bands asymmetric = bands(input, 7, 7, 8, 1.0, 3.0, MA_SMA);
    EXPECT_EQ(asymmetric.upper[0], 7.0);
    EXPECT_EQ(asymmetric.lower[0], -1.0);
}

TEST(BollingerBands, ConstantSeriesCollapsesTheBands) {
    const Bands result = bands(std::vector<double>(40, 10.0), 0, 39, DEFAULT_INT, DEFAULT_REAL, DEFAULT_REAL,
                               DEFAULT_INT);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 4);
    for (int j = 0; j < result.count; ++j) {
        EXPECT_EQ(result.middle[j], 10.0);
        EXPECT_EQ(result.upper[j], 10.0);
        EXPECT_EQ(result.lower[j], 10.0);
    }
}

// For every type the middle band is the selected average and the bands lie
// the standard deviation of the same input index away.
TEST(BollingerBands, EveryTypePairsItsAverageWithTheDeviation) {
    const std::vector<double> input = make_series(1000, 11);
    for (std::int32_t type = 0; type <= 8; ++type) {
        for (std::int32_t period : {20, 60}) {
            const Bands result = bands(input, 0, 999, period, 2.0, 1.5, type);
            ASSERT_EQ(result.rc, RC_OK);
            std::vector<double> average(1000), deviation(1000);
            std::int32_t average_begin = -1, average_count = -1, deviation_begin = -1, deviation_count = -1;
            ASSERT_EQ(ma_compute(0, 999, input.data(), period, type, &average_begin, &average_count, average.data()),
                      RC_OK);
            ASSERT_EQ(MOVLEX_STDDEV(result.begin, 999, input.data(), period, 1.0, &deviation_begin,
                                    &deviation_count, deviation.data()),
                      RC_OK);
            EXPECT_EQ(result.begin, std::max(average_begin, period - 1)) << "type " << type;
            ASSERT_EQ(deviation_count, result.count);
            for (int j = 0; j < result.count; ++j) {
                const double middle = average[std::size_t(result.begin - average_begin + j)];
                ASSERT_EQ(result.middle[j], middle) << "type " << type << " period " << period;
                ASSERT_EQ(result.upper[j], middle + deviation[j] * 2.0);
                ASSERT_EQ(result.lower[j], middle - deviation[j] * 1.5);
            }
        }
    }
}

TEST(BollingerBands, InputPassedAsTwoOutputsIsRejected) {
    std::vector<double> input = make_series(50), other(50, -1.0);
    std::int32_t begin = -1, count = -1;
    EXPECT_EQ(MOVLEX_BBANDS(0, 49, input.data(), 5, 2.0, 2.0, MA_SMA, &begin, &count, input.data(), input.data(),
                            other.data()),
              RC_BAD_ARGUMENT);
    EXPECT_EQ(MOVLEX_BBANDS(0, 49, input.data(), 5, 2.0, 2.0, MA_SMA, &begin, &count, input.data(), other.data(),
                            input.data()),
              RC_BAD_ARGUMENT);
    EXPECT_EQ(begin, -1);
    EXPECT_EQ(count, -1);
}

}  // namespace
}  // namespace movlex::test
