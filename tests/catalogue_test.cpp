// Worked examples of the catalogue's price transforms and window operators,
// each on a small fixture whose values follow by hand from the definitions in
// docs/indicators.md, driving the kernels as every path does.
#include <array>
#include <cmath>
#include <limits>
#include <vector>

#include "averages/bar_prices.hpp"
#include "cycles/hilbert_cycle.hpp"
#include "frame/sine.hpp"
#include "directional/sar.hpp"
#include "oscillators/price_oscillators.hpp"
#include "oscillators/range_position.hpp"
#include "oscillators/rate_of_change.hpp"
#include "oscillators/qstick.hpp"
#include "statistics/mean_deviation.hpp"
#include "statistics/window_operators.hpp"
#include "volume/volume_lines.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

using Series = std::vector<double>;
constexpr double NONE = std::numeric_limits<double>::quiet_NaN();

// The kernel over whole series from bar 0: every output at full length, NaN
// before the lookback.
template <class Kernel, class... Inputs>
std::vector<Series> run_over(const Kernel& kernel, const Inputs&... inputs) {
    const std::array<const double*, sizeof...(Inputs)> arrays{inputs.data()...};
    const std::array<std::size_t, sizeof...(Inputs)> sizes{inputs.size()...};
    const Index n = Index(sizes[0]);
    std::vector<Series> full(Kernel::outputs, Series(std::size_t(n), NONE));
    const Index first = kernel.lookback();
    if (first >= n) return full;
    std::array<double*, Kernel::outputs> outs;
    for (int k = 0; k < Kernel::outputs; ++k) outs[k] = full[k].data() + first;
    run_kernel(kernel, arrays, 0, n - 1, outs);
    return full;
}

void expect_series(const Series& have, const Series& want) {
    ASSERT_EQ(have.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        if (std::isnan(want[i]))
            EXPECT_TRUE(std::isnan(have[i])) << "bar " << i;
        else
            EXPECT_DOUBLE_EQ(have[i], want[i]) << "bar " << i;
    }
}

const UnstablePeriods NO_UNSTABLE{};

// open 1, high 4, low 0.5, close 2.5: average 8 / 4, median 4.5 / 2, typical
// 7 / 3, weighted close (4.5 + 5) / 4.
TEST(Catalogue, BarPrices) {
    const Series open{1}, high{4}, low{0.5}, close{2.5};
    expect_series(run_over(AveragePriceKernel{}, open, high, low, close)[0], {2.0});
    expect_series(run_over(MedianPriceKernel{}, high, low)[0], {2.25});
    expect_series(run_over(TypicalPriceKernel{}, high, low, close)[0], {7.0 / 3.0});
    expect_series(run_over(WeightedCloseKernel{}, high, low, close)[0], {2.375});
}

// Windows of 3 over 3 1 4 1 5 9 2 6: [3 1 4] [1 4 1] [4 1 5] [1 5 9] [5 9 2]
// [9 2 6]. Bars back count from the current bar; of the equal lows of
// [1 4 1] the newer is taken.
TEST(Catalogue, WindowOperators) {
    const Series x{3, 1, 4, 1, 5, 9, 2, 6};
    const Series lead(2, NONE);
    auto with_lead = [&](Series tail) {
        tail.insert(tail.begin(), lead.begin(), lead.end());
        return tail;
    };
    expect_series(run_over(MidpointKernel(3), x)[0], with_lead({2.5, 2.5, 3, 5, 5.5, 5.5}));
    expect_series(run_over(RollingSumKernel(3), x)[0], with_lead({8, 6, 10, 15, 16, 17}));
    expect_series(run_over(HighestAgoKernel(3), x)[0], with_lead({0, 1, 0, 0, 1, 2}));
    expect_series(run_over(LowestAgoKernel(3), x)[0], with_lead({1, 0, 1, 2, 0, 1}));
    const auto range = run_over(WindowRangeKernel(3), x);
    expect_series(range[0], with_lead({1, 1, 1, 1, 2, 2}));
    expect_series(range[1], with_lead({4, 4, 5, 9, 9, 9}));
    expect_series(range[2], with_lead({1, 0, 1, 2, 0, 1}));
    expect_series(range[3], with_lead({0, 1, 0, 0, 1, 2}));
    // Highs 5 7 6, lows 1 2 4: (7 + 1) / 2, then (7 + 2) / 2.
    expect_series(run_over(MidPriceKernel(2), Series{5, 7, 6}, Series{1, 2, 4})[0], {NONE, 4.0, 4.5});
}

// The rolling sum keeps no trace of a value that has left its window: a
// running sum would keep 1e300's rounding residue.
TEST(Catalogue, RollingSumForgetsAHugeValue) {
    const Series x{1e300, 0.25, 0.5, 0.125, 1.0};
    expect_series(run_over(RollingSumKernel(2), x)[0], {NONE, 1e300, 0.75, 0.625, 1.125});
}

// 2 4 0 3, one bar back: 4 against 2, 0 against 4, 3 against a zero reference.
TEST(Catalogue, RateOfChangeForms) {
    const Series x{2, 4, 0, 3};
    expect_series(run_over(RocFractionKernel(1), x)[0], {NONE, 1.0, -1.0, 0.0});
    expect_series(run_over(RocRatioKernel(1), x)[0], {NONE, 2.0, 0.0, 0.0});
    expect_series(run_over(RocRatio100Kernel(1), x)[0], {NONE, 200.0, 0.0, 0.0});
}

// Period 2 (windows of 3 bars): highs 1 3 2 4, lows 0 1 -1 2. Bar 2: high 3
// one bar back (up 50), low -1 today (down 100): -50. Bar 3: high today (100),
// low -1 one back (50): 50.
TEST(Catalogue, AroonOscillatorIsUpLessDown) {
    expect_series(run_over(AroonOscillatorKernel(2), Series{1, 3, 2, 4}, Series{0, 1, -1, 2})[0], {NONE, NONE, -50, 50});
}

// Started long with the stop at 8.5, long steps 0.1 up to 0.3, short steps
// 0.05 up to 0.2. Bar 1 reports 8.5, the stop moves 0.1 of the way to the
// high 11: 8.75. Bar 2 reports 8.75; a new high 12 raises the factor to 0.2:
// 8.75 + 0.2 * 3.25 = 9.4. Bar 3's low 8 touches it: the position turns short
// reporting the extreme 12, the new stop 12 + 0.05 * (8 - 12) = 11.8 raised
// to the last two highs, 12. Bar 4 reports 12; its low 7.5 is a new extreme.
TEST(Catalogue, ParabolicSarWithSeparateSettingsAndAStart) {
    const Series high{10, 11, 12, 10, 9}, low{9, 10, 11, 8, 7.5};
    const auto out = run_over(TwoSidedSarKernel(SarKernel(8.5, 0.1, 0.3, 0.05, 0.2)), high, low);
    expect_series(out[0], {NONE, 8.5, 8.75, 12, 12});
    expect_series(out[1], {NONE, 1, 1, -1, -1});
    // A negative start opens short at its magnitude.
    const auto short_start = run_over(TwoSidedSarKernel(SarKernel(-11.5, 0.02, 0.2, 0.02, 0.2)), high, low);
    EXPECT_EQ(short_start[1][1], -1.0);
    EXPECT_EQ(short_start[0][1], 11.5);
}

// With one setting for both sides and no start it is the core's SAR, bit for
// bit; the fixed MACD is MACD(12 EMA, 26 EMA, signal EMA).
TEST(Catalogue, ExtendedFormsAgreeWithTheCoreOnes) {
    const Bars bars = make_bars(400, 7);
    const auto core = run_over(SarKernel(0.02, 0.2), bars.high, bars.low);
    const auto extended = run_over(TwoSidedSarKernel(SarKernel(0.0, 0.02, 0.2, 0.02, 0.2)), bars.high, bars.low);
    EXPECT_TRUE(same_values(core[0], extended[0].data(), core[0].size()));

    const double macd_params[] = {12, MA_EMA, 26, MA_EMA, 7, MA_EMA}, signal[] = {7};
    const auto macd = run_over(macd_kernel(macd_params, NO_UNSTABLE), bars.close);
    const auto fixed = run_over(macd_fixed_kernel(signal, NO_UNSTABLE), bars.close);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(same_values(macd[k], fixed[k].data(), macd[k].size())) << k;
}

}  // namespace
}  // namespace movlex::test

namespace movlex::test {
namespace {

// The library's sine and cosine of degrees agree with the runtime's to a few
// units in the last place, and give the exact values at the quarter turns.
TEST(Catalogue, SineAndCosineOfDegrees) {
    EXPECT_EQ(sine_degrees(0.0), 0.0);
    EXPECT_EQ(sine_degrees(90.0), 1.0);
    EXPECT_EQ(sine_degrees(-90.0), -1.0);
    EXPECT_EQ(cosine_degrees(180.0), -1.0);
    EXPECT_EQ(cosine_degrees(720.0), 1.0);
    EXPECT_TRUE(std::isnan(sine_degrees(NONE)));
    for (double degrees = -1000.0; degrees < 1000.0; degrees += 0.37) {
        const double radians = degrees * (3.141592653589793 / 180.0);
        EXPECT_NEAR(sine_degrees(degrees), std::sin(radians), 1e-13) << degrees;
        EXPECT_NEAR(cosine_degrees(degrees), std::cos(radians), 1e-13) << degrees;
    }
}

// A pure cycle of 20 bars around 100: the dominant period settles near 20,
// the phase advances 18 degrees a bar, the sine wave follows it, the
// trendline lies near the centre and the mode is the cycle's (0). A steady
// rise is a trend (1).
TEST(Catalogue, HilbertCycleOfAPureCycle) {
    Series wave, rise;
    for (int i = 0; i < 400; ++i) {
        wave.push_back(100.0 + std::sin(2.0 * 3.141592653589793 * i / 20.0));
        rise.push_back(100.0 + 0.5 * i);
    }
    const auto period = run_over(CyclePeriodKernel(0), wave)[0];
    const auto phase = run_over(CyclePhaseKernel(0), wave)[0];
    const auto sine = run_over(SineWaveKernel(0), wave);
    const auto trendline = run_over(InstantTrendlineKernel(0), wave)[0];
    const auto mode = run_over(TrendModeKernel(0), wave)[0];
    const auto phasor = run_over(PhasorKernel(0), wave);
    EXPECT_TRUE(std::isnan(period[31]));
    EXPECT_FALSE(std::isnan(period[32]));
    EXPECT_TRUE(std::isnan(phase[62]));
    for (int i = 300; i < 400; ++i) {
        EXPECT_NEAR(period[i], 20.0, 1.0) << i;
        double advance = phase[i] - phase[i - 1];
        if (advance < 0.0) advance += 360.0;
        EXPECT_NEAR(advance, 18.0, 3.0) << i;
        EXPECT_NEAR(sine[0][i], sine_degrees(phase[i]), 0.0) << i;
        EXPECT_NEAR(sine[1][i], sine_degrees(phase[i] + 45.0), 0.0) << i;
        EXPECT_NEAR(trendline[i], 100.0, 0.05) << i;
        EXPECT_EQ(mode[i], 0.0) << i;
        // The phasor's amplitude is steady on a pure cycle.
        EXPECT_GT(std::hypot(phasor[0][i], phasor[1][i]), 0.1) << i;
    }
    const auto trend = run_over(TrendModeKernel(0), rise)[0];
    for (int i = 100; i < 400; ++i) EXPECT_EQ(trend[i], 1.0) << i;
}

}  // namespace
}  // namespace movlex::test

namespace movlex::test {
namespace {

// Closes 8 10 12.5 10, volumes 100 40 80 20. Price-volume trend: +0.25 *
// 40, +0.25 * 80, -0.2 * 20. Negative index from 1000: bar 1 (less volume)
// +25 %, bar 2 stays, bar 3 (less volume) -20 %. The positive index moves on
// bar 2 only: +25 %.
TEST(Catalogue, VolumeLines) {
    const Series close{8, 10, 12.5, 10}, volume{100, 40, 80, 20};
    expect_series(run_over(PvtKernel(0.0), close, volume)[0], {0, 10, 30, 26});
    expect_series(run_over(NviKernel(1000.0), close, volume)[0], {1000, 1250, 1250, 1000});
    expect_series(run_over(PviKernel(1000.0), close, volume)[0], {1000, 1000, 1250, 1250});
}

// Bodies 1, -1, 2 over 2 bars: 0, then 0.5.
TEST(Catalogue, QstickAveragesTheBodies) {
    expect_series(run_over(QstickKernel(2), Series{1, 2, 3}, Series{2, 1, 5})[0], {NONE, 0.0, 0.5});
}

// [1 2 6]: mean 3, deviations 2 1 3, so 2; [2 6 4]: mean 4, deviations 2 2 0.
TEST(Catalogue, MeanDeviation) {
    expect_series(run_over(MeanDeviationKernel(3), Series{1, 2, 6, 4})[0], {NONE, NONE, 2.0, 4.0 / 3.0});
}

}  // namespace
}  // namespace movlex::test
