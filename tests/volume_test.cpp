// Accumulation/distribution, on-balance volume and money-flow index.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core_lookbacks.hpp"  // generated
#include "frame/scratch.hpp"
#include "test_support.hpp"
#include "volume/accumulation.hpp"
#include "volume/money_flow.hpp"

namespace movlex::test {
namespace {

// Five bars with known results for every indicator of the family.
struct FiveBars {
    std::vector<double> high = {10, 11, 10.5, 12, 11};
    std::vector<double> low = {9, 9.5, 9, 10.5, 10};
    std::vector<double> close = {9.5, 10.5, 9.5, 11.5, 10};
    std::vector<double> volume = {100, 200, 150, 300, 250};
};

struct Result {
    RetCode code = RC_BAD_ARGUMENT;
    std::int32_t begin = -1;
    std::int32_t count = -1;
    std::vector<double> values;
};

Result ad(const Bars& b, int first, int last) {
    Result r;
    r.values.assign(std::size_t(last - first + 1), NAN);
    r.code = MOVLEX_AD(first, last, b.high.data(), b.low.data(), b.close.data(), b.volume.data(), &r.begin, &r.count,
                       r.values.data());
    r.values.resize(std::size_t(std::max(r.count, 0)));
    return r;
}

Result adosc(const Bars& b, int first, int last, int fast, int slow) {
    Result r;
    r.values.assign(std::size_t(last - first + 1), NAN);
    r.code = MOVLEX_ADOSC(first, last, b.high.data(), b.low.data(), b.close.data(), b.volume.data(), fast, slow,
                          &r.begin, &r.count, r.values.data());
    r.values.resize(std::size_t(std::max(r.count, 0)));
    return r;
}

Result obv(const std::vector<double>& price, const std::vector<double>& volume, int first, int last) {
    Result r;
    r.values.assign(std::size_t(last - first + 1), NAN);
    r.code = MOVLEX_OBV(first, last, price.data(), volume.data(), &r.begin, &r.count, r.values.data());
    r.values.resize(std::size_t(std::max(r.count, 0)));
    return r;
}

Result mfi(const Bars& b, int first, int last, int period) {
    Result r;
    r.values.assign(std::size_t(last - first + 1), NAN);
    r.code = MOVLEX_MFI(first, last, b.high.data(), b.low.data(), b.close.data(), b.volume.data(), period, &r.begin,
                        &r.count, r.values.data());
    r.values.resize(std::size_t(std::max(r.count, 0)));
    return r;
}

Bars five_bars() {
    const FiveBars f;
    Bars b;
    b.high = f.high;
    b.low = f.low;
    b.close = f.close;
    b.volume = f.volume;
    b.open = f.close;
    return b;
}

void expect_near_all(const std::vector<double>& expected, const std::vector<double>& actual, double tolerance) {
    ASSERT_EQ(expected.size(), actual.size());
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_NEAR(expected[k], actual[k], tolerance) << "element " << k;
}

TEST(Volume, FiveBarExample) {
    LibraryStateGuard state(false);
    const Bars b = five_bars();

    const Result line = ad(b, 0, 4);
    ASSERT_EQ(line.code, RC_OK);
    EXPECT_EQ(line.begin, 0);
    expect_near_all({0, 66.6667, 16.6667, 116.6667, -133.3333}, line.values, 5e-5);

    const Result oscillator = adosc(b, 0, 4, 2, 3);
    ASSERT_EQ(oscillator.code, RC_OK);
    EXPECT_EQ(oscillator.begin, 2);
    expect_near_all({0.9259, 15.5864, -28.8323}, oscillator.values, 5e-5);

    const Result balance = obv(b.close, b.volume, 0, 4);
    ASSERT_EQ(balance.code, RC_OK);
    EXPECT_EQ(balance.begin, 0);
    EXPECT_TRUE(same_values({100, 300, 150, 450, 200}, balance.values.data(), balance.values.size()));

    const Result flow = mfi(b, 0, 4, 2);
    ASSERT_EQ(flow.code, RC_OK);
    EXPECT_EQ(flow.begin, 2);
    expect_near_all({58.7678, 70.1031, 56.8245}, flow.values, 5e-5);
}

TEST(AccumulationDistribution, SingleBarContributions) {
    struct Case {
        double high, low, close, volume, expected;
    };
    for (const Case& c : {Case{12, 10, 12, 500, 500}, Case{12, 10, 10, 500, -500}, Case{12, 10, 11, 500, 0},
                          Case{10, 10, 10, 500, 0}, Case{10, 12, 11, 500, 0}}) {
        Bars b;
        b.high = {c.high};
        b.low = {c.low};
        b.close = {c.close};
        b.volume = {c.volume};
        const Result r = ad(b, 0, 0);
        ASSERT_EQ(r.code, RC_OK);
        ASSERT_EQ(r.count, 1);
        EXPECT_EQ(r.values[0], c.expected) << c.high << " " << c.low << " " << c.close;
    }
}

TEST(AccumulationDistribution, FlatBarRepeatsThePreviousValue) {
    Bars b = five_bars();
    b.high[2] = b.low[2] = b.close[2] = 10;
    const Result r = ad(b, 0, 4);
    ASSERT_EQ(r.code, RC_OK);
    EXPECT_EQ(r.values[2], r.values[1]);
}

// Both line indicators start afresh at first_index: a request from bar 5 is
// the same as a request from bar 0 of the series that begins at bar 5.
TEST(Volume, LinesRestartAtTheFirstRequestedBar) {
    const Bars b = make_bars(60, 4);
    Bars tail;
    for (auto [from, to] : {std::pair{&b.high, &tail.high}, {&b.low, &tail.low}, {&b.close, &tail.close},
                            {&b.volume, &tail.volume}})
        to->assign(from->begin() + 5, from->end());

    const Result late = ad(b, 5, 59);
    const Result fresh = ad(tail, 0, 54);
    ASSERT_EQ(late.code, RC_OK);
    EXPECT_EQ(late.begin, 5);
    EXPECT_TRUE(same_values(fresh.values, late.values.data(), late.values.size()));

    const Result late_obv = obv(b.close, b.volume, 5, 59);
    const Result fresh_obv = obv(tail.close, tail.volume, 0, 54);
    ASSERT_EQ(late_obv.code, RC_OK);
    EXPECT_EQ(late_obv.begin, 5);
    EXPECT_EQ(late_obv.values[0], b.volume[5]);
    EXPECT_TRUE(same_values(fresh_obv.values, late_obv.values.data(), late_obv.values.size()));
}

TEST(OnBalanceVolume, FollowsTheDirectionOfThePrice) {
    const std::vector<double> volume = {10, 20, 30, 40, 50};
    struct Case {
        std::vector<double> price, expected;
    };
    for (const Case& c : {Case{{5, 5, 5, 5, 5}, {10, 10, 10, 10, 10}},                 // unchanged: the first volume
                          Case{{5, 6, 5, 5, 4}, {10, 30, 0, 0, -50}},                  // rise, fall, flat, fall
                          Case{{5, 6, 5, 6, 5}, {10, 30, 0, 40, -10}}}) {              // up and back
        const Result r = obv(c.price, volume, 0, 4);
        ASSERT_EQ(r.code, RC_OK);
        EXPECT_TRUE(same_values(c.expected, r.values.data(), r.values.size()));
    }
    const Result single = obv({1, 2, 3}, volume, 2, 2);
    ASSERT_EQ(single.code, RC_OK);
    EXPECT_EQ(single.begin, 2);
    EXPECT_EQ(single.count, 1);
    EXPECT_EQ(single.values[0], 30);
}

// The oscillator written the way it is defined: the line from 0 at the seed
// bar, both averages seeded with it.
std::vector<double> reference_adosc(const Bars& b, int first, int last, int fast, int slow, int unstable) {
    const int lookback = std::max(fast, slow) - 1 + unstable;
    const int start = std::max(first, lookback);
    std::vector<double> out;
    if (start > last) return out;
    auto step = [&](double line, int i) {
        const double range = b.high[i] - b.low[i];
        if (!(range > 0)) return line;
        return line + ((b.close[i] - b.low[i]) - (b.high[i] - b.close[i])) / range * b.volume[i];
    };
    const double kf = 2.0 / (fast + 1), ks = 2.0 / (slow + 1);
    const int seed = start - lookback;
    double line = step(0.0, seed), fast_average = line, slow_average = line;
    for (int i = seed + 1; i <= last; ++i) {
        line = step(line, i);
        fast_average = (1 - kf) * fast_average + kf * line;
        slow_average = (1 - ks) * slow_average + ks * line;
        if (i >= start) out.push_back(fast_average - slow_average);
    }
    return out;
}

TEST(AccumulationOscillator, AgreesWithItsDefinitionInBothStates) {
    Bars b = make_bars(400, 9);
    b.high[0] = b.low[0];  // a seed bar without range
    b.high[100] = b.low[100];
    struct Case {
        int first, last, fast, slow;
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const int unstable = initialised ? 150 : 0;
        for (const Case& c : {Case{0, 399, 3, 10}, Case{0, 399, 10, 3}, Case{0, 399, 2, 2}, Case{250, 399, 5, 20},
                              Case{170, 170, 3, 10}}) {
            const Result r = adosc(b, c.first, c.last, c.fast, c.slow);
            ASSERT_EQ(r.code, RC_OK);
            EXPECT_EQ(r.begin, std::max(c.first, std::max(c.fast, c.slow) - 1 + unstable));
            EXPECT_TRUE(same_values(reference_adosc(b, c.first, c.last, c.fast, c.slow, unstable), r.values.data(),
                                    r.values.size()))
                << "state " << initialised << " from " << c.first << ", periods " << c.fast << "/" << c.slow;
        }
    }
}

TEST(AccumulationOscillator, DefaultLookbackAndEqualPeriods) {
    {
        LibraryStateGuard state(false);
        EXPECT_EQ(adosc_lookback(DEFAULT_INT, DEFAULT_INT), 9);
        EXPECT_EQ(adosc_lookback(1, 10), -1);
        EXPECT_EQ(adosc_lookback(3, 1), -1);
    }
    LibraryStateGuard state(true);
    EXPECT_EQ(adosc_lookback(DEFAULT_INT, DEFAULT_INT), 159);
    const Bars b = make_bars(300, 2);
    const Result r = adosc(b, 0, 299, 7, 7);
    ASSERT_EQ(r.code, RC_OK);
    ASSERT_GT(r.count, 0);
    for (double v : r.values) ASSERT_EQ(v, 0.0);
}

TEST(Volume, ZeroVolumeGivesZero) {
    Bars b = make_bars(100, 5);
    std::fill(b.volume.begin(), b.volume.end(), 0.0);
    for (const Result& r : {ad(b, 0, 99), adosc(b, 0, 99, 3, 10), mfi(b, 0, 99, 14)}) {
        ASSERT_EQ(r.code, RC_OK);
        ASSERT_GT(r.count, 0);
        for (double v : r.values) ASSERT_EQ(v, 0.0);
    }
}

// Money-flow index from its definition: every output recomputes its own
// window of `period` bars, each classified against the bar before it.
std::vector<double> windowed_mfi(const Bars& b, int first, int last, int period, int unstable) {
    auto typical = [&](int i) { return ((b.high[i] + b.low[i]) + b.close[i]) / 3; };
    std::vector<double> out;
    for (int i = std::max(first, period + unstable); i <= last; ++i) {
        double positive = 0, negative = 0;
        for (int j = i - period + 1; j <= i; ++j) {
            if (typical(j) > typical(j - 1)) positive += typical(j) * b.volume[j];
            if (typical(j) < typical(j - 1)) negative += typical(j) * b.volume[j];
        }
        out.push_back(positive + negative < 1 ? 0.0 : positive / (positive + negative) * 100);
    }
    return out;
}

TEST(MoneyFlow, EveryOutputCoversItsOwnWindowInBothStates) {
    const Bars b = make_bars(700, 6);
    struct Case {
        int first, last, period;
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const int unstable = initialised ? 150 : 0;
        for (const Case& c : {Case{0, 699, 2}, Case{0, 699, 14}, Case{300, 699, 50}, Case{0, 699, 51},
                              Case{0, 699, 333}, Case{500, 500, 14}}) {
            const Result r = mfi(b, c.first, c.last, c.period);
            ASSERT_EQ(r.code, RC_OK);
            EXPECT_EQ(r.begin, std::max(c.first, c.period + unstable));
            const std::vector<double> expected = windowed_mfi(b, c.first, c.last, c.period, unstable);
            ASSERT_EQ(r.values.size(), expected.size());
            for (std::size_t k = 0; k < expected.size(); ++k)
                ASSERT_NEAR(r.values[k], expected[k], 1e-9)
                    << "state " << initialised << " period " << c.period << " element " << k;
        }
    }
}

Bars bars_with_typical_prices(const std::vector<double>& typical, double volume) {
    Bars b;
    for (double t : typical) {
        b.high.push_back(t);
        b.low.push_back(t);
        b.close.push_back(t);
        b.volume.push_back(volume);
    }
    return b;
}

TEST(MoneyFlow, DirectionAndTheMinimumTotalFlow) {
    LibraryStateGuard state(false);
    struct Case {
        std::vector<double> typical;
        double volume, expected;
    };
    for (const Case& c : {Case{{1, 2, 3, 4, 5}, 1, 100},          // rising
                          Case{{5, 4, 3, 2, 1}, 1, 0},            // falling
                          Case{{3, 3, 3, 3, 3}, 100, 0},          // unchanged: (0, 0) pairs
                          Case{{0.1, 0.2, 0.25}, 1, 0},           // total flow 0.45, all of it upwards
                          Case{{0.25, 0.5, 0.5}, 2, 100}}) {      // total flow exactly 1
        const Bars b = bars_with_typical_prices(c.typical, c.volume);
        const int last = int(c.typical.size()) - 1;
        const Result r = mfi(b, last, last, 2);
        ASSERT_EQ(r.code, RC_OK);
        ASSERT_EQ(r.count, 1);
        EXPECT_EQ(r.values[0], c.expected) << "last typical price " << c.typical.back();
    }
}

TEST(MoneyFlow, LongWindowsComeFromTheHeap) {
    LibraryStateGuard state(false);
    const Bars b = make_bars(200, 8);
    for (int period : {2, 50}) {
        const int before = testing::scratch_allocations_attempted();
        EXPECT_EQ(mfi(b, 0, 199, period).code, RC_OK);
        EXPECT_EQ(testing::scratch_allocations_attempted(), before) << "period " << period;
    }
    const int before = testing::scratch_allocations_attempted();
    EXPECT_EQ(mfi(b, 0, 199, 51).code, RC_OK);
    EXPECT_EQ(testing::scratch_allocations_attempted(), before + 1);

    // The window is taken before the range is looked at, so the failure also
    // shows for a range too short to give any output.
    for (int last : {199, 10}) {
        std::int32_t begin = -5, count = -6;
        std::vector<double> out(200, -7.0);
        testing::fail_scratch_allocation(0);
        const RetCode code = MOVLEX_MFI(0, last, b.high.data(), b.low.data(), b.close.data(), b.volume.data(), 51,
                                        &begin, &count, out.data());
        testing::fail_scratch_allocation(-1);
        EXPECT_EQ(code, RC_NO_MEMORY);
        EXPECT_EQ(begin, -5);
        EXPECT_EQ(count, -6);
        for (double v : out) ASSERT_EQ(v, -7.0);
    }
}

TEST(MoneyFlow, LookbackIncludesTheUnstablePeriod) {
    {
        LibraryStateGuard state(false);
        EXPECT_EQ(mfi_lookback(DEFAULT_INT), 14);
        EXPECT_EQ(mfi_lookback(1), -1);
        const Bars b = make_bars(20, 1);
        const Result r = mfi(b, 0, 13, DEFAULT_INT);
        ASSERT_EQ(r.code, RC_OK);
        EXPECT_EQ(r.begin, 0);
        EXPECT_EQ(r.count, 0);
    }
    LibraryStateGuard state(true);
    EXPECT_EQ(mfi_lookback(DEFAULT_INT), 164);
}

}  // namespace
}  // namespace movlex::test
