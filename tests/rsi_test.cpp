#include <algorithm>
#include <cmath>
#include <vector>

#include "core_lookbacks.hpp"  // generated
#include "frame/library_state.hpp"
#include "oscillators/rsi.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

enum class Kind { rsi, cmo };

struct Series {
    int begin = 0;
    std::vector<double> values;
};

// The oscillator step by step as documented: plain means of the gains and
// losses of the first period changes, Wilder steps through the unstable
// stretch, one output per index.
Series reference_oscillator(Kind kind, const std::vector<double>& x, int first, int last, int period, int unstable) {
    const int lookback = period + unstable;
    const int start = std::max(first, lookback);
    Series result;
    if (start > last) return result;
    result.begin = start;

    const double p = double(period);
    double previous = x[start - lookback];
    double gain_sum = 0.0, loss_sum = 0.0;
    for (int i = start - lookback + 1; i <= start - lookback + period; ++i) {
        const double d = x[i] - previous;
        if (d < 0)
            loss_sum = loss_sum + -d;
        else
            gain_sum = gain_sum + d;
        previous = x[i];
    }
    double gain = gain_sum / p, loss = loss_sum / p;

    auto step = [&](double value) {
        const double d = value - previous;
        const double bar_gain = d < 0 ? 0.0 : d;
        const double bar_loss = d < 0 ? -d : 0.0;
        gain = (gain * (p - 1) + bar_gain) / p;
        loss = (loss * (p - 1) + bar_loss) / p;
        previous = value;
    };
    auto output = [&] {
        const double s = loss + gain;
        if (-1e-8 < s && s < 1e-8) return 0.0;
        return kind == Kind::rsi ? (gain / s) * 100.0 : ((gain - loss) / s) * 100.0;
    };
    if (unstable == 0) {
        result.values.push_back(output());
        for (int i = start + 1; i <= last; ++i) {
            step(x[i]);
            result.values.push_back(output());
        }
    } else {
        for (int i = start - unstable + 1; i <= start - 1; ++i) step(x[i]);
        for (int i = start; i <= last; ++i) {
            step(x[i]);
            result.values.push_back(output());
        }
    }
    return result;
}

using Entry = RetCode(MOVLEX_CALL*)(std::int32_t, std::int32_t, const double*, std::int32_t, std::int32_t*,
                                    std::int32_t*, double*);

struct Oscillator {
    const char* name;
    Kind kind;
    Entry entry;
    UnstableSlot slot;
};

const Oscillator OSCILLATORS[] = {
    {"RSI", Kind::rsi, MOVLEX_RSI, UNSTABLE_RSI},
    {"CMO", Kind::cmo, MOVLEX_CMO, UNSTABLE_CMO},
};

// A walk on a 0.25 grid, so that zero changes and flat stretches occur.
std::vector<double> stepped_series(std::size_t count) {
    std::vector<double> x = make_series(count, 21);
    for (double& v : x) v = std::round(v * 4.0) / 4.0;
    return x;
}

TEST(GainLossOscillators, AgreeBitForBitWithTheDocumentedSteps) {
    const std::vector<double> input = stepped_series(2000);
    in_both_states({{0, 1999, 14}, {0, 1999, 2}, {600, 1999, 14}, {1500, 1500, 9}, {300, 900, 250}, {0, 1999, 1849}},
                   [&](const PeriodWindow& w, int unstable) {
                       for (const Oscillator& oscillator : OSCILLATORS) {
                           const Series expected =
                               reference_oscillator(oscillator.kind, input, w.first, w.last, w.period, unstable);
                           std::vector<double> out(std::size_t(w.last - w.first + 1));
                           std::int32_t begin = -1, count = -1;
                           ASSERT_EQ(oscillator.entry(w.first, w.last, input.data(), w.period, &begin, &count,
                                                      out.data()),
                                     RC_OK);
                           EXPECT_EQ(begin, expected.begin);
                           EXPECT_TRUE(same_values(expected.values, out.data(), std::size_t(count)))
                               << oscillator.name << " " << w.first << ".." << w.last << " period " << w.period;
                       }
                   });
}

TEST(GainLossOscillators, FirstValueWithoutUnstablePeriodIsTheShareOfGains) {
    LibraryStateGuard loaded(false);
    const std::vector<double> input = make_series(40, 4);
    double gains = 0.0, losses = 0.0;
    for (int i = 1; i <= 14; ++i) {
        const double d = input[i] - input[i - 1];
        (d < 0 ? losses : gains) += std::fabs(d);
    }
    double out[1];
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_RSI(0, 14, input.data(), DEFAULT_INT, &begin, &count, out), RC_OK);
    EXPECT_EQ(begin, 14);
    EXPECT_EQ(count, 1);
    EXPECT_NEAR(out[0], 100.0 * gains / (gains + losses), 1e-12);
    ASSERT_EQ(MOVLEX_CMO(0, 14, input.data(), DEFAULT_INT, &begin, &count, out), RC_OK);
    EXPECT_NEAR(out[0], 100.0 * (gains - losses) / (gains + losses), 1e-12);
}

TEST(GainLossOscillators, InitialisedDefaultNeedsOneHundredSixtyFourValues) {
    LibraryStateGuard initialised(true);
    const std::vector<double> input = make_series(165, 6);
    for (const Oscillator& oscillator : OSCILLATORS) {
        std::vector<double> out(165, -1.0);
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(oscillator.entry(0, 163, input.data(), DEFAULT_INT, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, 0);
        EXPECT_EQ(count, 0);
        EXPECT_EQ(out[0], -1.0);
        ASSERT_EQ(oscillator.entry(0, 164, input.data(), DEFAULT_INT, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, 164);
        ASSERT_EQ(count, 1);
        EXPECT_TRUE(same_values(reference_oscillator(oscillator.kind, input, 0, 164, 14, 150).values, out.data(), 1));
    }
    EXPECT_EQ(rsi_lookback(DEFAULT_INT), 164);
    EXPECT_EQ(cmo_lookback(DEFAULT_INT), 164);
}

TEST(GainLossOscillators, EachReadsItsOwnSlot) {
    LibraryStateGuard initialised(true);
    const std::vector<double> input = make_series(400, 8);
    std::vector<double> out(400);
    for (const Oscillator& oscillator : OSCILLATORS) {
        library_state->unstable_periods[UNSTABLE_RSI] = 150;
        library_state->unstable_periods[UNSTABLE_CMO] = 150;
        library_state->unstable_periods[oscillator.slot] = 5;
        EXPECT_EQ(rsi_lookback(14), oscillator.kind == Kind::rsi ? 19 : 164);
        EXPECT_EQ(cmo_lookback(14), oscillator.kind == Kind::cmo ? 19 : 164);
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(oscillator.entry(0, 399, input.data(), 14, &begin, &count, out.data()), RC_OK);
        EXPECT_EQ(begin, 19) << oscillator.name;
        EXPECT_TRUE(same_values(reference_oscillator(oscillator.kind, input, 0, 399, 14, 5).values, out.data(),
                                std::size_t(count)));
    }
}

TEST(GainLossOscillators, FlatRisingAndFallingSeries) {
    struct Case {
        const char* name;
        double start, change;
        double rsi, cmo;
    };
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        for (const Case& c : {Case{"flat", 50.0, 0.0, 0.0, 0.0}, Case{"rising", 50.0, 0.5, 100.0, 100.0},
                              Case{"falling", 500.0, -0.5, 0.0, -100.0}}) {
            std::vector<double> input(400);
            for (std::size_t i = 0; i < input.size(); ++i) input[i] = c.start + c.change * double(i);
            for (const Oscillator& oscillator : OSCILLATORS) {
                std::vector<double> out(400);
                std::int32_t begin = -1, count = -1;
                ASSERT_EQ(oscillator.entry(0, 399, input.data(), 14, &begin, &count, out.data()), RC_OK);
                ASSERT_GT(count, 0);
                const double expected = oscillator.kind == Kind::rsi ? c.rsi : c.cmo;
                for (int k = 0; k < count; ++k) ASSERT_EQ(out[k], expected) << oscillator.name << " " << c.name;
            }
        }
    }
}

}  // namespace
}  // namespace movlex::test
