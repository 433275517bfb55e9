#include <vector>

#include "averages/selector.hpp"
#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Line {
    RetCode rc;
    std::int32_t begin = -1, count = -1;
    std::vector<double> values;
};

using OscillatorEntry = RetCode(MOVLEX_CALL*)(int32_t, int32_t, const double*, int32_t, int32_t, MaType, int32_t*,
                                                int32_t*, double*);

Line oscillator(OscillatorEntry entry, const std::vector<double>& input, std::int32_t first, std::int32_t last,
                std::int32_t fast, std::int32_t slow, std::int32_t type) {
    Line line;
    line.values.assign(std::size_t(last - first + 1), 0.0);
    line.rc = entry(first, last, input.data(), fast, slow, type, &line.begin, &line.count, line.values.data());
    line.values.resize(line.rc == RC_OK ? std::size_t(line.count) : 0);
    return line;
}

struct Macd {
    RetCode rc;
    std::int32_t begin = -1, count = -1;
    std::vector<double> macd, signal, hist;
};

Macd macd(const std::vector<double>& input, std::int32_t first, std::int32_t last, std::int32_t fast,
          std::int32_t fast_type, std::int32_t slow, std::int32_t slow_type, std::int32_t signal,
          std::int32_t signal_type) {
    Macd result;
    const std::size_t n = std::size_t(last - first + 1);
    result.macd.assign(n, 0.0);
    result.signal.assign(n, 0.0);
    result.hist.assign(n, 0.0);
    result.rc = MOVLEX_MACD(first, last, input.data(), fast, fast_type, slow, slow_type, signal, signal_type,
                            &result.begin, &result.count, result.macd.data(), result.signal.data(),
                            result.hist.data());
    const std::size_t count = result.rc == RC_OK ? std::size_t(result.count) : 0;
    result.macd.resize(count);
    result.signal.resize(count);
    result.hist.resize(count);
    return result;
}

TEST(PriceOscillators, PeriodsAreSwappedToPutTheShorterFirst) {
    const std::vector<double> input = make_series(300, 2);
    for (OscillatorEntry entry : {OscillatorEntry(&MOVLEX_APO), OscillatorEntry(&MOVLEX_PPO)})
        for (std::int32_t type = 0; type <= 8; ++type) {
            const Line ordered = oscillator(entry, input, 0, 299, 12, 26, type);
            const Line swapped = oscillator(entry, input, 0, 299, 26, 12, type);
            ASSERT_EQ(ordered.rc, RC_OK);
            EXPECT_EQ(swapped.begin, ordered.begin);
            EXPECT_EQ(ordered.begin, ma_lookback(26, type));
            EXPECT_TRUE(same_values(ordered.values, swapped.values.data(), swapped.values.size())) << "type " << type;
        }
}

TEST(PriceOscillators, EqualPeriodsAndZeroInputGiveZero) {
    const std::vector<double> input = make_series(100);
    for (const Line& line :
         {oscillator(&MOVLEX_APO, input, 0, 99, 10, 10, MA_EMA), oscillator(&MOVLEX_PPO, input, 0, 99, 10, 10, MA_WMA),
          oscillator(&MOVLEX_PPO, std::vector<double>(100, 0.0), 0, 99, 5, 10, MA_SMA)}) {
        ASSERT_EQ(line.rc, RC_OK);
        for (double value : line.values) EXPECT_EQ(value, 0.0);
    }
}

TEST(PriceOscillators, PpoDividesByALongerAverageOfExactlyTheBand) {
    // Slow simple average over 0, 0, 2e-8, 2e-8 is exactly 1e-8, the fast one 2e-8.
    const std::vector<double> input = {0.0, 0.0, 2e-8, 2e-8};
    const Line line = oscillator(&MOVLEX_PPO, input, 0, 3, 2, 4, MA_SMA);
    ASSERT_EQ(line.rc, RC_OK);
    ASSERT_EQ(line.count, 1);
    EXPECT_EQ(line.values[0], ((2e-8 - 1e-8) / 1e-8) * 100.0);
}

TEST(PriceOscillators, ApoShorterThanTheLongerLookbackIsEmpty) {
    const Line line = oscillator(&MOVLEX_APO, make_series(30), 0, 24, 12, 26, MA_SMA);
    EXPECT_EQ(line.rc, RC_OK);
    EXPECT_EQ(line.begin, 0);
    EXPECT_EQ(line.count, 0);
}

TEST(Macd, DefaultLookbackIsThirtyThree) {
    const Macd result = macd(make_series(41), 0, 40, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT,
                             DEFAULT_INT);
    ASSERT_EQ(result.rc, RC_OK);
    EXPECT_EQ(result.begin, 33);
    EXPECT_EQ(result.count, 8);
    for (int j = 0; j < result.count; ++j) EXPECT_EQ(result.hist[j], result.macd[j] - result.signal[j]);
}

TEST(Macd, TypesTravelWithTheirPeriods) {
    const std::vector<double> input = make_series(300, 4);
    const Macd named_backwards = macd(input, 0, 299, 26, MA_EMA, 12, MA_SMA, 9, MA_WMA);
    const Macd ordered = macd(input, 0, 299, 12, MA_SMA, 26, MA_EMA, 9, MA_WMA);
    ASSERT_EQ(ordered.rc, RC_OK);
    EXPECT_EQ(named_backwards.begin, ordered.begin);
    EXPECT_TRUE(same_values(ordered.macd, named_backwards.macd.data(), named_backwards.macd.size()));
    EXPECT_TRUE(same_values(ordered.signal, named_backwards.signal.data(), named_backwards.signal.size()));
}

// With a signal period of 1 the line starts where both averages can, and is
// then the absolute price oscillator started at the same index, for every type.
TEST(Macd, SignalPeriodOneIsTheLineItself) {
    const std::vector<double> input = make_series(1200, 6);
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        for (std::int32_t type = 0; type <= 8; ++type) {
            const Macd result = macd(input, 0, 1199, 5, type, 12, type, 1, type);
            ASSERT_EQ(result.rc, RC_OK) << "type " << type;
            EXPECT_EQ(result.begin, std::max(ma_lookback(5, type), ma_lookback(12, type)));
            EXPECT_TRUE(same_values(result.macd, result.signal.data(), result.signal.size()));
            for (double value : result.hist) EXPECT_EQ(value, 0.0);
            const Line apo = oscillator(&MOVLEX_APO, input, result.begin, 1199, 5, 12, type);
            EXPECT_TRUE(same_values(apo.values, result.macd.data(), result.macd.size())) << "type " << type;
        }
    }
}

TEST(Macd, SignalAndHistogramMayShareAnArray) {
    const std::vector<double> input = make_series(200, 8);
    const Macd separate = macd(input, 0, 199, 12, MA_EMA, 26, MA_EMA, 9, MA_TEMA);
    std::vector<double> line(200), shared(200);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_MACD(0, 199, input.data(), 12, MA_EMA, 26, MA_EMA, 9, MA_TEMA, &begin, &count, line.data(),
                          shared.data(), shared.data()),
              RC_OK);
    EXPECT_EQ(count, separate.count);
    EXPECT_TRUE(same_values(separate.macd, line.data(), std::size_t(count)));
    EXPECT_TRUE(same_values(separate.hist, shared.data(), std::size_t(count)));
}

TEST(Macd, Mac2IsTheLineOfAMacdWithAThreeValueSignal) {
    const std::vector<double> input = make_series(200, 9);
    const Macd reference = macd(input, 0, 199, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, 3, MA_SMA);
    std::vector<double> line(200);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_MAC2(0, 199, input.data(), DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, &begin, &count,
                          line.data()),
              RC_OK);
    EXPECT_EQ(begin, 27);
    EXPECT_EQ(begin, reference.begin);
    EXPECT_TRUE(same_values(reference.macd, line.data(), std::size_t(count)));
}

TEST(Macd, RejectsSignalPeriodZeroAndFastPeriodOne) {
    const std::vector<double> input = make_series(50);
    EXPECT_EQ(macd(input, 0, 49, 12, 0, 26, 0, 0, 0).rc, RC_BAD_ARGUMENT);
    EXPECT_EQ(macd(input, 0, 49, 1, 0, 26, 0, 9, 0).rc, RC_BAD_ARGUMENT);
}

}  // namespace
}  // namespace movlex::test
