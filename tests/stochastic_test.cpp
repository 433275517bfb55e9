#include <vector>

#include "averages/selector.hpp"
#include "frame/scratch.hpp"
#include "oscillators/stochastic.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct KD {
    RetCode rc;
    std::int32_t begin = -1, count = -1;
    std::vector<double> k, d;
};

KD stochf(const Bars& bars, std::int32_t first, std::int32_t last, std::int32_t fast_k, std::int32_t fast_d,
          std::int32_t type) {
    KD result;
    result.k.assign(std::size_t(last - first + 1), 0.0);
    result.d.assign(std::size_t(last - first + 1), 0.0);
    result.rc = MOVLEX_STOCHF(first, last, bars.high.data(), bars.low.data(), bars.close.data(), fast_k, fast_d, type,
                              &result.begin, &result.count, result.k.data(), result.d.data());
    return result;
}

KD stoch(const Bars& bars, std::int32_t first, std::int32_t last, std::int32_t fast_k, std::int32_t slow_k,
         std::int32_t slow_k_type, std::int32_t slow_d, std::int32_t slow_d_type) {
    KD result;
    result.k.assign(std::size_t(last - first + 1), 0.0);
    result.d.assign(std::size_t(last - first + 1), 0.0);
    result.rc = MOVLEX_STOCH(first, last, bars.high.data(), bars.low.data(), bars.close.data(), fast_k, slow_k,
                             slow_k_type, slow_d, slow_d_type, &result.begin, &result.count, result.k.data(),
                             result.d.data());
    return result;
}

TEST(Stochastics, DefaultLookbacks) {
    EXPECT_EQ(stochf_lookback(DEFAULT_INT, DEFAULT_INT, DEFAULT_INT), 6);
    EXPECT_EQ(stoch_lookback(DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT), 8);
    EXPECT_EQ(stochrsi_lookback(DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT), 20);
    LibraryStateGuard initialised(true);
    EXPECT_EQ(stochrsi_lookback(DEFAULT_INT, DEFAULT_INT, DEFAULT_INT, DEFAULT_INT), 170);
}

TEST(Stochastics, RawKOfOneBarAndTheFlatGuard) {
    Bars bars;
    bars.high = {10, 12, 11, 11};
    bars.low = {8, 9, 11, 11};
    bars.close = {9, 11, 11, 11};
    const KD one_bar = stochf(bars, 0, 3, 1, 1, MA_SMA);
    ASSERT_EQ(one_bar.rc, RC_OK);
    EXPECT_EQ(one_bar.begin, 0);
    ASSERT_EQ(one_bar.count, 4);
    EXPECT_EQ(one_bar.k[0], (9.0 - 8.0) / ((10.0 - 8.0) / 100.0));
    EXPECT_EQ(one_bar.k[1], (11.0 - 9.0) / ((12.0 - 9.0) / 100.0));
    EXPECT_EQ(one_bar.k[2], 0.0);  // high equals low
    EXPECT_TRUE(same_values(one_bar.k, one_bar.d.data(), 4));

    const KD window = stochf(bars, 3, 3, 2, 1, MA_SMA);  // bars 2 and 3: flat
    EXPECT_EQ(window.k[0], 0.0);
}

// Slow %K is the selected average of the raw %K series, whatever the type.
TEST(Stochastics, SlowKIsTheAverageOfRawKForEveryType) {
    const Bars bars = make_bars(300, 12);
    for (std::int32_t type = 0; type <= 8; ++type) {
        const KD raw = stochf(bars, 0, 299, 5, 1, MA_SMA);
        ASSERT_EQ(raw.rc, RC_OK);
        ASSERT_EQ(raw.begin, 4);
        std::vector<double> expected(std::size_t(raw.count));
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(ma_compute(0, raw.count - 1, raw.k.data(), 7, type, &begin, &count, expected.data()), RC_OK);
        expected.resize(std::size_t(count));

        const std::int32_t lookback = 4 + ma_lookback(7, type);
        const KD slow = stoch(bars, lookback, 299, 5, 7, type, 1, MA_SMA);
        ASSERT_EQ(slow.rc, RC_OK) << "type " << type;
        EXPECT_EQ(slow.begin, lookback);
        EXPECT_TRUE(same_values(expected, slow.k.data(), std::size_t(slow.count))) << "type " << type;
        EXPECT_TRUE(same_values(expected, slow.d.data(), std::size_t(slow.count))) << "type " << type;

        const KD fast = stochf(bars, 0, 299, 5, 4, type);
        ASSERT_EQ(fast.rc, RC_OK) << "type " << type;
        EXPECT_EQ(fast.begin, 4 + ma_lookback(4, type));
    }
}

// An output that is an input gives the same values and costs no memory
// beyond what the call with separate arrays takes (the averages' rings).
TEST(Stochastics, AnOutputThatIsAnInputTakesNoExtraMemory) {
    const Bars bars = make_bars(200, 13);
    const int separate_before = testing::scratch_allocations_attempted();
    const KD separate = stoch(bars, 0, 199, 5, 3, MA_SMA, 3, MA_SMA);
    const int separate_allocations = testing::scratch_allocations_attempted() - separate_before;
    Bars aliased = bars;
    std::vector<double> d(200);
    std::int32_t begin = -1, count = -1;
    const int allocations_before = testing::scratch_allocations_attempted();
    ASSERT_EQ(MOVLEX_STOCH(0, 199, aliased.high.data(), aliased.low.data(), aliased.close.data(), 5, 3, MA_SMA, 3,
                           MA_SMA, &begin, &count, aliased.close.data(), d.data()),
              RC_OK);
    EXPECT_EQ(testing::scratch_allocations_attempted() - allocations_before, separate_allocations);
    ASSERT_EQ(count, separate.count);
    EXPECT_TRUE(same_values(separate.k.data(), aliased.close.data(), std::size_t(count)));
    EXPECT_TRUE(same_values(separate.d.data(), d.data(), std::size_t(count)));
}

TEST(Stochastics, StochRsiOfAFlatRsiIsZero) {
    std::vector<double> rising(80);
    for (std::size_t i = 0; i < rising.size(); ++i) rising[i] = double(i);  // RSI 100 throughout
    std::vector<double> k(80), d(80);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(MOVLEX_STOCHRSI(0, 79, rising.data(), 14, 5, 3, MA_SMA, &begin, &count, k.data(), d.data()), RC_OK);
    EXPECT_EQ(begin, 20);
    for (int j = 0; j < count; ++j) {
        EXPECT_EQ(k[j], 0.0);
        EXPECT_EQ(d[j], 0.0);
    }
}

}  // namespace
}  // namespace movlex::test
