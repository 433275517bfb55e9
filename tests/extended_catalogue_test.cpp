// Worked examples of the last indicators of the catalogue (docs/indicators.md,
// "Completing the catalogue"), each on a small fixture of whole numbers whose
// values follow from the definition with exact fractions, and the guards each
// definition names. The table-driven tests (contract, streams, saved states,
// Python) cover every row besides.
#include <cmath>
#include <vector>

#include "entry_call.hpp"
#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

// fast 2, slow 3, cycle 3, factor 1/2 over the fixture: the MACD line from
// bar 2 is 0, 2/3, 7/18, 95/108, ...; the first stage from bar 4 smooths from
// 0: 175/6 (half the stochastic 175/3 of 7/18 in 0..2/3), 775/12, 775/24,
// ...; the second stage from bar 6: half the stochastic 150/17 of 775/24
// among those three, 75/17, then 3876675/713558, ...
TEST(ExtendedCatalogue, SchaffTrendCycleIsTheSmoothedStochasticTakenTwice) {
    const std::vector<double> x{10, 12, 11, 15, 14, 18, 13, 16, 17, 12, 14, 19};
    Call run(1, x.size());
    ASSERT_EQ(movlex_stc(0, 11, x.data(), 2, 3, 3, 0.5, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 6);
    expect_values(run.out[0], run.count,
                  {75.0 / 17.0, 3876675.0 / 713558.0, 75232475.0 / 1427116.0, 75232475.0 / 2854232.0,
                   17.249885102463352, 58.624942551231676});
}

// Squares climb ever faster: every MACD value is a new high, the first stage
// climbs to 100 and stays there, and its flat window holds the second stage's
// stochastic at 100 rather than taking it to 0.
TEST(ExtendedCatalogue, SchaffTrendCycleHoldsOverAFlatWindow) {
    std::vector<double> x(300);
    for (std::size_t i = 0; i < x.size(); ++i) x[i] = double(i) * double(i);
    Call run(1, x.size());
    ASSERT_EQ(movlex_stc(0, 299, x.data(), 23, 50, 10, 0.5, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_NEAR(run.out[0][std::size_t(run.count - 1)], 100.0, 1e-9);
}

// Ten bars of whole numbers, for the indicators of open, high, low and close.
struct Candles {
    std::vector<double> open{10, 11, 12, 11, 13, 14, 13, 15, 16, 15};
    std::vector<double> high{12, 13, 14, 13, 15, 16, 15, 17, 18, 17};
    std::vector<double> low{9, 10, 10, 10, 11, 13, 12, 13, 15, 14};
    std::vector<double> close{11, 12, 11, 12, 14, 15, 14, 16, 17, 15};
};

// period 2: from bar 3 w(close - open) = (1 + 2 * -1 + 2 * 1 + 1) / 6 = 1/3 and
// w(high - low) = (3 + 2 * 4 + 2 * 3 + 3) / 6 = 10/3, ...; rvi from
// bar 4 is the ratio of their 2-bar sums, the signal from bar 7 its
// weighting: (3/10, 3361/17220), (3/10, 4393/17220), (11/40, 2819/9840).
TEST(ExtendedCatalogue, RelativeVigorIndexWeightsTheBodyAgainstTheRange) {
    const Candles c;
    Call run(2, c.close.size());
    ASSERT_EQ(movlex_rvi(0, 9, c.open.data(), c.high.data(), c.low.data(), c.close.data(), 2, &run.begin, &run.count,
                         run.out[0].data(), run.out[1].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 7);
    expect_values(run.out[0], run.count, {0.3, 0.3, 11.0 / 40.0});
    expect_values(run.out[1], run.count, {3361.0 / 17220.0, 4393.0 / 17220.0, 2819.0 / 9840.0});
}

// Flat bars have no range: rvi and its signal are 0.
TEST(ExtendedCatalogue, RelativeVigorIndexOfFlatBarsIsZero) {
    const std::vector<double> flat(12, 5.0);
    Call run(2, flat.size());
    ASSERT_EQ(movlex_rvi(0, 11, flat.data(), flat.data(), flat.data(), flat.data(), 3, &run.begin, &run.count,
                         run.out[0].data(), run.out[1].data()),
              RC_OK);
    expect_values(run.out[0], run.count, std::vector<double>(4, 0.0), 0.0);
    expect_values(run.out[1], run.count, std::vector<double>(4, 0.0), 0.0);
}

// rsi_period 2, streak_period 2, rank_period 3 over 20, 21, 22, 21, 21, ...:
// the streak runs 0, 1, 2, -1, 0, 1, -1, -2, 1, 2. At bar 4 the close's RSI
// is 50 (gains and losses of 1/4), the streak's RSI 50, and the change 0
// lies above one of the three before it (5, 100/21, -100/22): (50 + 50 +
// 100/3) / 3 = 400/9.
TEST(ExtendedCatalogue, ConnorsRsiAveragesThreeReadings) {
    const std::vector<double> x{20, 21, 22, 21, 21, 23, 22, 20, 21, 24};
    Call run(1, x.size());
    ASSERT_EQ(movlex_crsi(0, 9, x.data(), 2, 2, 3, &run.begin, &run.count, run.out[0].data()), RC_OK);
    EXPECT_EQ(run.begin, 4);
    expect_values(run.out[0], run.count,
                  {400.0 / 9.0, 260.0 / 3.0, 4300.0 / 117.0, 104.0 / 9.0, 4400.0 / 69.0, 3704300.0 / 41511.0});
}

// period 3, deviations 3, atr_multiplier 1 over the candles: from bar 4
// (the linear regression of the distances -5/12, 1/6, 19/12 at its newest
// bar is 13/9), 3 sd against ATR: variance 14/9 and ATR 32/9 at bar 4
// (3 sd = 3.74 > 3.56: no squeeze); at bar 6 variance 2/9 and ATR 263/81
// (1.41 < 3.25: a squeeze).
TEST(ExtendedCatalogue, SqueezeComparesTheBandsWithTheChannel) {
    const Candles c;
    Call run(2, c.close.size());
    ASSERT_EQ(movlex_squeeze(0, 8, c.high.data(), c.low.data(), c.close.data(), 3, 3.0, 1.0, &run.begin,
                             &run.count, run.out[0].data(), run.out[1].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 4);
    expect_values(run.out[0], run.count, {0, 0, 1, 1, 0}, 0.0);
    expect_values(run.out[1], run.count, {13.0 / 9.0, 17.0 / 9.0, 13.0 / 36.0, 19.0 / 24.0, 43.0 / 24.0});
}

// period 2 over the first six candles: the sessions are bars 0-1 (H 13,
// L 9, C 12) and 2-3 (H 14, L 10, C 12); bars 2 and 3 carry the first
// session's levels, bars 4 and 5 the second's.
TEST(ExtendedCatalogue, PivotPointsComeFromThePreviousSession) {
    const Candles c;
    using Entry = decltype(&movlex_pivot_classic);  // with the entries' calling convention
    struct Case {
        const char* name;
        Entry entry;
        std::size_t bar;  // 0 or 2: the first or the second session's levels
        std::vector<double> levels;  // pivot, r1, r2, r3, s1, s2, s3
    };
    const Case cases[] = {
        {"classic", movlex_pivot_classic, 0,
         {34.0 / 3.0, 41.0 / 3.0, 46.0 / 3.0, 53.0 / 3.0, 29.0 / 3.0, 22.0 / 3.0, 17.0 / 3.0}},
        {"classic", movlex_pivot_classic, 2, {12, 14, 16, 18, 10, 8, 6}},
        {"fibonacci", movlex_pivot_fibonacci, 2, {12, 13.528, 14.472, 16, 10.472, 9.528, 8}},
        {"woodie", movlex_pivot_woodie, 0, {11.5, 14, 15.5, 18, 10, 7.5, 6}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Call run(7, 6);
        ASSERT_EQ(k.entry(0, 5, c.high.data(), c.low.data(), c.close.data(), 2, &run.begin, &run.count,
                          run.out[0].data(), run.out[1].data(), run.out[2].data(), run.out[3].data(),
                          run.out[4].data(), run.out[5].data(), run.out[6].data()),
                  RC_OK);
        EXPECT_EQ(run.begin, 2);
        ASSERT_EQ(run.count, 4);
        for (std::size_t level = 0; level < 7; ++level) {
            EXPECT_NEAR(run.out[level][k.bar], k.levels[level], 1e-12) << "level " << level;
            EXPECT_EQ(run.out[level][k.bar + 1], run.out[level][k.bar]) << "level " << level;
        }
    }
}

// The second session (H 14, L 10, C 12): the close plus and minus 4.4 / 12,
// / 6, / 4 and / 2.
TEST(ExtendedCatalogue, CamarillaLevelsHangFromTheClose) {
    const Candles c;
    Call run(9, 6);
    ASSERT_EQ(movlex_pivot_camarilla(0, 5, c.high.data(), c.low.data(), c.close.data(), 2, &run.begin, &run.count,
                                     run.out[0].data(), run.out[1].data(), run.out[2].data(), run.out[3].data(),
                                     run.out[4].data(), run.out[5].data(), run.out[6].data(), run.out[7].data(),
                                     run.out[8].data()),
              RC_OK);
    const std::vector<double> levels{12, 12 + 4.4 / 12, 12 + 4.4 / 6, 13.1, 14.2, 12 - 4.4 / 12, 12 - 4.4 / 6, 10.9, 9.8};
    for (std::size_t level = 0; level < levels.size(); ++level)
        EXPECT_NEAR(run.out[level][2], levels[level], 1e-12) << "level " << level;
}

// deviation 10: 100 is the trough confirmed by 112 (>= 110) at bar 2; 112
// the peak confirmed by 100 (<= 100.8) at bar 4; 95 the trough confirmed by
// 106 (>= 104.5) at bar 7; 120 the peak confirmed by 107 (<= 108) at bar 10.
// The trough after 120 is still running and is not reported.
TEST(ExtendedCatalogue, ZigzagReportsEachPivotWhenConfirmed) {
    const std::vector<double> x{100, 105, 112, 108, 100, 95, 99, 106, 104, 120, 107};
    Call run(3, x.size());
    ASSERT_EQ(movlex_zigzag(0, 10, x.data(), 10.0, &run.begin, &run.count, run.out[0].data(), run.out[1].data(),
                            run.out[2].data()),
              RC_OK);
    EXPECT_EQ(run.begin, 0);
    ASSERT_EQ(run.count, 11);
    const double none = std::nan("");
    const std::vector<double> pivot{none, none, 100, none, 112, none, none, 95, none, none, 120};
    const std::vector<double> back{0, 0, 2, 0, 2, 0, 0, 2, 0, 0, 1};
    const std::vector<double> direction{0, 0, -1, 0, 1, 0, 0, -1, 0, 0, 1};
    for (std::size_t i = 0; i < x.size(); ++i) {
        if (std::isnan(pivot[i]))
            EXPECT_TRUE(std::isnan(run.out[0][i])) << "bar " << i;
        else
            EXPECT_EQ(run.out[0][i], pivot[i]) << "bar " << i;
        EXPECT_EQ(run.out[1][i], back[i]) << "bar " << i;
        EXPECT_EQ(run.out[2][i], direction[i]) << "bar " << i;
    }
}

}  // namespace
}  // namespace movlex::test
