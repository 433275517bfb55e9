// Worked examples of the extended set's volatility and window statistics, on
// small fixtures whose values follow from the definitions in
// docs/indicators.md, computed apart from the library (Python's math module
// and exact fractions; the library's log is within two units in the last
// place of the exact one). The table-driven tests (contract, streams, saved
// states, Python) cover every row besides.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <vector>

#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

using Series = std::vector<double>;

// Five bars; the estimators over windows of 3 with the factor 252.
const Series OPEN{10, 11, 10.5, 12, 11.5}, HIGH{11, 12, 11.5, 12.5, 12}, LOW{9.5, 10, 10, 11, 11},
    CLOSE{10.5, 11.5, 11, 12, 11.5};

// Close to close: returns log(11.5 / 10.5), log(11 / 11.5), log(12 / 11),
// log(11.5 / 12); sqrt(252 * sample variance) of each three.
// Parkinson: bar 0 log(11 / 9.5)^2 = 0.02149..; sqrt(252 * mean / (4 log 2)).
// Yang-Zhang: k = 0.34 / (1.34 + 4 / 2) = 0.1017..; from bar 3.
TEST(ExtendedVolatility, EstimatorsOverAHandMadeWindow) {
    Series out(5, -1.0);
    std::int32_t begin = -1, count = -1;
    const double* o = OPEN.data();
    const double* h = HIGH.data();
    const double* l = LOW.data();
    const double* c = CLOSE.data();
    ASSERT_EQ(movlex_hv_close(0, 4, c, 3, 252.0, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 2);
    expect_near_values(out.data(), {1.2234323209595943, 1.1963029391822078});
    ASSERT_EQ(movlex_hv_parkinson(0, 4, h, l, 3, 252.0, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    ASSERT_EQ(count, 3);
    expect_near_values(out.data(), {1.5000137334614698, 1.4470580985136485, 1.1472830356428056});
    ASSERT_EQ(movlex_hv_garman_klass(0, 4, o, h, l, c, 3, 252.0, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    expect_near_values(out.data(), {1.705179124954038, 1.6638896206291403, 1.3245749787333954});
    ASSERT_EQ(movlex_hv_rogers_satchell(0, 4, o, h, l, c, 3, 252.0, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 2);
    expect_near_values(out.data(), {1.721619545170922, 1.7135494276769585, 1.3506942703548221});
    ASSERT_EQ(movlex_hv_yang_zhang(0, 4, o, h, l, c, 3, 252.0, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 2);
    expect_near_values(out.data(), {2.2019027476257684, 1.9471007612546543});
}

// A factor of 1 gives the per-bar deviation: closes doubling then flat give
// returns log 2, 0, log 2, whose sample deviation over two is log 2 / sqrt 2;
// a steady growth has none.
TEST(ExtendedVolatility, FactorOneIsThePerBarDeviation) {
    const Series close{1, 2, 2, 4}, growth{1, 2, 4, 8};
    Series out(4, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_hv_close(0, 3, close.data(), 2, 1.0, &begin, &count, out.data()), RC_OK);
    ASSERT_EQ(count, 2);
    expect_near_values(out.data(), {std::log(2.0) / std::sqrt(2.0), std::log(2.0) / std::sqrt(2.0)});
    ASSERT_EQ(movlex_hv_close(0, 3, growth.data(), 2, 1.0, &begin, &count, out.data()), RC_OK);
    EXPECT_TRUE(same_values(Series{0.0, 0.0}, out.data(), 2));
}


// ---- Window statistics ------------------------------------------------------

const Series VALUES{1, 3, 2, 5, 0, 4, 4, 6};

// Sorted windows of 4: [1 2 3 5] [0 2 3 5] [0 2 4 5] [0 4 4 5] [0 4 4 6].
// Median (2 + 3) / 2 ...; quantile 0.25: h = 0.75, y[0] + 0.75 (y[1] - y[0])
// = 1.75; quantile 0.9: h = 2.7, 3 + 0.7 * 2 = 4.4. Windows of 3 (odd): the
// middle value.
TEST(ExtendedWindowStatistics, MedianAndQuantileOfHandMadeWindows) {
    Series out(8, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_rolling_median(0, 7, VALUES.data(), 4, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 5);
    EXPECT_TRUE(same_values(Series{2.5, 2.5, 3.0, 4.0, 4.0}, out.data(), 5));
    ASSERT_EQ(movlex_rolling_median(0, 7, VALUES.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_TRUE(same_values(Series{2, 3, 2, 4, 4, 4}, out.data(), 6));
    ASSERT_EQ(movlex_rolling_quantile(0, 7, VALUES.data(), 4, 0.25, &begin, &count, out.data()), RC_OK);
    EXPECT_TRUE(same_values(Series{1.75, 1.5, 1.5, 3.0, 3.0}, out.data(), 5));
    ASSERT_EQ(movlex_rolling_quantile(0, 7, VALUES.data(), 4, 0.9, &begin, &count, out.data()), RC_OK);
    expect_near_values(out.data(), {4.4, 4.4, 4.7, 4.7, 5.4});
    ASSERT_EQ(movlex_rolling_quantile(0, 7, VALUES.data(), 4, 1.0, &begin, &count, out.data()), RC_OK);
    EXPECT_TRUE(same_values(Series{5, 5, 5, 5, 6}, out.data(), 5));
}

// The reference: each window sorted afresh, in the same total order (-0.0
// before +0.0; a NaN anywhere gives NaN), read by the same rule.
double sorted_quantile(Series window, double q, bool median) {
    if (std::any_of(window.begin(), window.end(), [](double v) { return std::isnan(v); }))
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(window.begin(), window.end(), [](double a, double b) {
        return a < b || (a == b && std::signbit(a) && !std::signbit(b));
    });
    const std::size_t n = window.size();
    if (median) return n % 2 == 1 ? window[n / 2] : (window[n / 2 - 1] + window[n / 2]) / 2.0;
    const double h = double(n - 1) * q;
    const double r = std::floor(h);
    const double low = window[std::size_t(r)];
    return h == r ? low : low + (h - r) * (window[std::size_t(r) + 1] - low);
}

// Bit for bit against sorting each window, over data full of ties, signed
// zeros, infinities and NaNs, for periods and quantiles across their range.
TEST(ExtendedWindowStatistics, QuantileHeapsMatchSortingEveryWindow) {
    std::mt19937_64 random(7);
    const double specials[] = {0.0, -0.0, 1.0, 1.0, std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    for (int round = 0; round < 60; ++round) {
        const std::int32_t period = std::int32_t(1 + random() % 40);
        const double q = round % 3 == 0 ? 0.5 : double(random() % 1001) / 1000.0;
        const bool with_nan = round % 4 == 0;
        Series input(300);
        for (double& v : input) {
            const unsigned pick = unsigned(random() % 10);
            v = pick < 6 ? double(random() % 9) - 4.0 : specials[pick % (with_nan ? 7 : 6)];
        }
        Series out(input.size()), by_median(input.size());
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(movlex_rolling_quantile(0, 299, input.data(), period, q, &begin, &count, out.data()), RC_OK);
        ASSERT_EQ(movlex_rolling_median(0, 299, input.data(), period, &begin, &count, by_median.data()), RC_OK);
        ASSERT_EQ(begin, period - 1);
        for (std::int32_t k = 0; k < count; ++k) {
            const Series window(input.begin() + k, input.begin() + k + period);
            ASSERT_TRUE(same_bits(out[k], sorted_quantile(window, q, false)) || (std::isnan(out[k]) &&
                        std::isnan(sorted_quantile(window, q, false))))
                << "period " << period << " q " << q << " bar " << begin + k;
            const double median = sorted_quantile(window, 0.5, true);
            ASSERT_TRUE(same_bits(by_median[k], median) || (std::isnan(median) && std::isnan(by_median[k])))
                << "period " << period << " bar " << begin + k;
        }
    }
}

// Population moments, exactly: [1 3 2 5] mean 11/4, m2 35/16, m3 105/64,
// skew (105/64) / (35/16)^1.5 = 0.43465...; kurtosis (m4 / m2^2) - 3.
TEST(ExtendedWindowStatistics, SkewAndKurtosisOfHandMadeWindows) {
    Series out(8, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_rolling_skew(0, 7, VALUES.data(), 4, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 5);
    expect_near_values(out.data(), {0.4346507595746657, 0.0, -0.27803055565396284, -0.9929662701927244, -0.6520236646847545});
    ASSERT_EQ(movlex_rolling_kurtosis(0, 7, VALUES.data(), 4, &begin, &count, out.data()), RC_OK);
    expect_near_values(out.data(), {-1.1542857142857144, -1.1479289940828403, -1.4266015512783683, -0.764722780810112,
                               -0.9030470914127422});
    const Series flat(6, 7.25);
    ASSERT_EQ(movlex_rolling_kurtosis(0, 5, flat.data(), 4, &begin, &count, out.data()), RC_OK);
    EXPECT_TRUE(same_values(Series{0.0, 0.0, 0.0}, out.data(), 3));
}

// A value 1e12 times the others, and a level of 10,000 with small moves: once
// the spike has left the window, the moments are those of the window alone.
TEST(ExtendedWindowStatistics, SkewAndKurtosisForgetAValueThatLeftTheWindow) {
    std::mt19937_64 random(3);
    Series input(5000);
    for (double& v : input) v = 10000.0 + double(random() % 1000) * 1e-4;
    input[100] = 1e16;
    const std::int32_t period = 25;
    Series skew(input.size()), kurtosis(input.size()), fresh(1);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_rolling_skew(0, 4999, input.data(), period, &begin, &count, skew.data()), RC_OK);
    ASSERT_EQ(movlex_rolling_kurtosis(0, 4999, input.data(), period, &begin, &count, kurtosis.data()), RC_OK);
    for (const std::int32_t bar : {200, 1000, 4999}) {
        std::int32_t one_begin = -1, one_count = -1;
        // A call over the window alone starts the runs afresh.
        const Series window(input.begin() + bar - period + 1, input.begin() + bar + 1);
        ASSERT_EQ(movlex_rolling_skew(period - 1, period - 1, window.data(), period, &one_begin, &one_count,
                                      fresh.data()),
                  RC_OK);
        EXPECT_NEAR(skew[bar - begin], fresh[0], 1e-9) << bar;
        ASSERT_EQ(movlex_rolling_kurtosis(period - 1, period - 1, window.data(), period, &one_begin, &one_count,
                                          fresh.data()),
                  RC_OK);
        EXPECT_NEAR(kurtosis[bar - begin], fresh[0], 1e-9) << bar;
    }
}

// Each part is the regression's own output, bit for bit.
TEST(ExtendedWindowStatistics, RegressionPartsAreTheRegressionsOutputs) {
    using Part = decltype(&movlex_linreg_slope);  // with the entries' calling convention
    const Part parts[] = {movlex_linreg_slope, movlex_linreg_intercept, movlex_linreg_angle, movlex_tsf};
    const int outputs[] = {1, 2, 3, 4};
    const Series input = make_series(400, 11);
    for (const std::int32_t period : {3, 14, 90}) {
        std::vector<Series> all(6, Series(400));
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(movlex_linreg(20, 399, input.data(), period, &begin, &count, all[0].data(), all[1].data(),
                                all[2].data(), all[3].data(), all[4].data(), all[5].data()),
                  RC_OK);
        for (int p = 0; p < 4; ++p) {
            Series out(400);
            std::int32_t part_begin = -1, part_count = -1;
            ASSERT_EQ(parts[p](20, 399, input.data(), period, &part_begin, &part_count, out.data()), RC_OK);
            EXPECT_EQ(part_begin, begin);
            ASSERT_EQ(part_count, count);
            EXPECT_TRUE(same_values(all[std::size_t(outputs[p])].data(), out.data(), std::size_t(count))) << p;
        }
    }
}

// ---- Trend and path ---------------------------------------------------------

// Over 3 changes: bar 3 path |2|+|1|+|3| = 6, net |5 - 1| = 4: ER 2/3, range
// 5 - 2 = 3: VHF 1/2. A flat stretch has no path: both 0.
TEST(ExtendedTrend, EfficiencyRatioAndVerticalHorizontalFilter) {
    Series out(8, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_er(0, 7, VALUES.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 5);
    expect_near_values(out.data(), {2.0 / 3.0, 1.0 / 3.0, 1.0 / 6.0, 1.0 / 9.0, 1.0});
    ASSERT_EQ(movlex_vhf(0, 7, VALUES.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    expect_near_values(out.data(), {0.5, 5.0 / 9.0, 5.0 / 12.0, 4.0 / 9.0, 1.0 / 3.0});
    const Series flat(6, 3.0);
    ASSERT_EQ(movlex_er(0, 5, flat.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_TRUE(same_values(Series{0, 0, 0}, out.data(), 3));
    ASSERT_EQ(movlex_vhf(0, 5, flat.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_TRUE(same_values(Series{0, 0, 0}, out.data(), 3));
}

// True ranges from bar 1: 1.5, 1.5, 1, 2.5, 1.5. Choppiness over 3 at bar 3:
// 100 log(4 / 2.5) / log 3. Random walk at bar 3: k = 2, ATR 1.25,
// high (11 - 9.5) / (1.25 sqrt 2), low (12 - 10) / (1.25 sqrt 2); k = 3,
// ATR 4/3, high (11 - 9) / (4/3 sqrt 3), low 0.
TEST(ExtendedTrend, ChoppinessAndRandomWalkIndex) {
    const Series high{10, 11, 12, 11, 13, 14}, low{9, 9.5, 10.5, 10, 11, 12.5}, close{9.5, 11, 11, 10.5, 12.5, 13};
    Series out(6, -1.0), lows(6, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_chop(0, 5, high.data(), low.data(), close.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 3);
    expect_near_values(out.data(), {42.78157399964452, 46.49735207179272, 20.31140135750123});
    ASSERT_EQ(movlex_rwi(0, 5, high.data(), low.data(), close.data(), 3, &begin, &count, out.data(), lows.data()),
              RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 3);
    expect_near_values(out.data(), {0.8660254037844387, 1.2124355652982142, 1.414213562373095});
    expect_near_values(lows.data(), {0.565685424949238, 0.40406101782088427, -0.17320508075688773});
}

// Drawdowns over 3 from bar 2: 2 / 3 - 1 = -1/3, 5 is the high, 0 / 5 - 1 =
// -1, ...: percent squares 10000/9, 0, 10000, 400/9 ... mean over 3 at bar 4
// 100000/27.
TEST(ExtendedTrend, UlcerIndexOfHandMadeDrawdowns) {
    Series out(8, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_ulcer(0, 7, VALUES.data(), 3, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 4);
    ASSERT_EQ(count, 4);
    expect_near_values(out.data(), {std::sqrt(100000.0 / 27.0), std::sqrt(10400.0 / 3.0), std::sqrt(10400.0 / 3.0),
                               std::sqrt(400.0 / 3.0)});
}

// ---- Varying period ---------------------------------------------------------

// Bounds 2 .. 4, lookback 3. Periods: 0.3 (bounded to 2), 2.5 (rounded to 3),
// 9 (bounded to 4), NaN, 3.49 (3).
TEST(ExtendedVaryingPeriod, PeriodIsBoundedRoundedAndNaNGivesNaN) {
    const Series input{1, 3, 2, 5, 0, 4, 4, 6};
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Series periods{1, 1, 1, 0.3, 2.5, 9, nan, 3.49};
    Series out(8, -1.0);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_sma_varying(0, 7, input.data(), periods.data(), 2, 4, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 3);
    ASSERT_EQ(count, 5);
    expect_near_values(out.data(), {3.5, 7.0 / 3.0, 11.0 / 4.0});
    EXPECT_TRUE(std::isnan(out[3]));
    expect_near_values(out.data() + 4, {14.0 / 3.0});
    // Crossed bounds: the upper one.
    ASSERT_EQ(movlex_sma_varying(0, 7, input.data(), periods.data(), 5, 2, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 1);
    EXPECT_EQ(out[0], 2.0);
}

}  // namespace
}  // namespace movlex::test
