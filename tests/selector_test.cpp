#include <vector>

#include "averages/selector.hpp"
#include "frame/archive.hpp"
#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Output {
    RetCode rc;
    std::int32_t begin = -1, count = -1;
    std::vector<double> values;
};

Output selected(const std::vector<double>& input, std::int32_t first, std::int32_t last, std::int32_t period,
                std::int32_t ma_type) {
    Output result;
    result.values.assign(std::size_t(last - first + 1), 0.0);
    result.rc = ma_compute(first, last, input.data(), period, ma_type, &result.begin, &result.count,
                           result.values.data());
    result.values.resize(result.rc == RC_OK ? std::size_t(result.count) : 0);
    return result;
}

TEST(Selector, PeriodOneCopiesTheRangeForEveryType) {
    const std::vector<double> input = make_series(60);
    for (std::int32_t type = 0; type <= 8; ++type) {
        const Output copy = selected(input, 7, 50, 1, type);
        ASSERT_EQ(copy.rc, RC_OK);
        EXPECT_EQ(copy.begin, 7);
        EXPECT_EQ(copy.count, 44);
        EXPECT_TRUE(same_values(std::vector<double>(input.begin() + 7, input.begin() + 51), copy.values.data(), 44));

        std::vector<double> in_place = input;
        std::int32_t begin = -1, count = -1;
        ASSERT_EQ(ma_compute(7, 50, in_place.data(), 1, type, &begin, &count, in_place.data()), RC_OK);
        EXPECT_TRUE(same_values(copy.values, in_place.data(), std::size_t(count)));
    }
    EXPECT_EQ(selected(input, 0, 10, 1, 9).rc, RC_BAD_ARGUMENT);
}

TEST(Selector, Lookbacks) {
    EXPECT_EQ(ma_lookback(1, MA_MAMA), 0);
    EXPECT_EQ(ma_lookback(DEFAULT_INT, DEFAULT_INT), 29);
    EXPECT_EQ(ma_lookback(0, 0), -1);
    EXPECT_EQ(ma_lookback(30, 9), -1);
    EXPECT_EQ(ma_lookback(30, -1), -1);
    EXPECT_EQ(ma_lookback(5, MA_MAMA), ma_lookback(500, MA_MAMA));
    EXPECT_EQ(ma_lookback(5, MA_T3), 24);
}

TEST(Selector, RejectsBadTypes) {
    const std::vector<double> input = make_series(60);
    EXPECT_EQ(selected(input, 0, 59, 10, -1).rc, RC_BAD_ARGUMENT);
    EXPECT_EQ(selected(input, 0, 59, 10, 9).rc, RC_BAD_ARGUMENT);
    const Output by_default = selected(input, 0, 59, 10, DEFAULT_INT);
    const Output simple = selected(input, 0, 59, 10, MA_SMA);
    EXPECT_TRUE(same_values(simple.values, by_default.values.data(), by_default.values.size()));
}

// Each code reaches its average with the fixed real parameters; every one of
// them works in place.
TEST(Selector, EachCodeMatchesItsAverageAlsoInPlace) {
    const std::vector<double> input = make_series(1200, 5);
    for (bool initialised : {false, true}) {
        LibraryStateGuard state(initialised);
        const std::int32_t first = 0, last = 1199, period = 10;
        auto direct = [&](std::int32_t type) {
            Output result;
            result.values.assign(1200, 0.0);
            std::vector<double> fama(1200);
            double* out = result.values.data();
            const double* in = input.data();
            std::int32_t* b = &result.begin;
            std::int32_t* c = &result.count;
            switch (type) {
                case MA_SMA: result.rc = MOVLEX_SMA(first, last, in, period, b, c, out); break;
                case MA_EMA: result.rc = MOVLEX_EMA(first, last, in, period, b, c, out); break;
                case MA_WMA: result.rc = MOVLEX_WMA(first, last, in, period, b, c, out); break;
                case MA_DEMA: result.rc = MOVLEX_DEMA(first, last, in, period, b, c, out); break;
                case MA_TEMA: result.rc = MOVLEX_TEMA(first, last, in, period, b, c, out); break;
                case MA_TRIMA: result.rc = MOVLEX_TRIMA(first, last, in, period, b, c, out); break;
                case MA_KAMA: result.rc = MOVLEX_KAMA(first, last, in, period, b, c, out); break;
                case MA_MAMA: result.rc = MOVLEX_MAMA(first, last, in, 0.5, 0.05, b, c, out, fama.data()); break;
                default: result.rc = MOVLEX_T3(first, last, in, period, 0.7, b, c, out); break;
            }
            result.values.resize(std::size_t(result.count));
            return result;
        };
        for (std::int32_t type = 0; type <= 8; ++type) {
            const Output expected = direct(type);
            const Output actual = selected(input, first, last, period, type);
            ASSERT_EQ(actual.rc, RC_OK) << "type " << type;
            EXPECT_EQ(actual.begin, expected.begin) << "type " << type;
            EXPECT_EQ(actual.begin, ma_lookback(period, type)) << "type " << type;
            EXPECT_TRUE(same_values(expected.values, actual.values.data(), actual.values.size())) << "type " << type;

            std::vector<double> in_place = input;
            std::int32_t begin = -1, count = -1;
            ASSERT_EQ(ma_compute(first, last, in_place.data(), period, type, &begin, &count, in_place.data()), RC_OK);
            EXPECT_TRUE(same_values(expected.values, in_place.data(), std::size_t(count))) << "in place, type " << type;
        }
        const Output mama_short = selected(input, first, last, 5, MA_MAMA);
        const Output mama_long = selected(input, first, last, 500, MA_MAMA);
        EXPECT_EQ(mama_short.begin, mama_long.begin);
        EXPECT_TRUE(same_values(mama_short.values, mama_long.values.data(), mama_long.values.size()));
    }
}

// MAMA through the selector keeps only its MAMA line: no FAMA array is
// allocated, so a failing allocation changes nothing.
TEST(Selector, MamaAllocatesNothing) {
    const std::vector<double> input = make_series(100);
    const Output expected = selected(input, 0, 99, 10, MA_MAMA);
    std::vector<double> out(100, 0.0);
    std::int32_t begin = -1, count = -1;
    const int attempted = testing::scratch_allocations_attempted();
    testing::fail_scratch_allocation(0);
    EXPECT_EQ(ma_compute(0, 99, input.data(), 10, MA_MAMA, &begin, &count, out.data()), RC_OK);
    testing::fail_scratch_allocation(-1);
    EXPECT_EQ(testing::scratch_allocations_attempted(), attempted);
    EXPECT_EQ(begin, expected.begin);
    EXPECT_TRUE(same_values(expected.values, out.data(), std::size_t(count)));
}

// The selector as a stage fed one value per bar gives the selector's batch
// results bar for bar, for every type (period 1 included) in both library
// states; a state saved mid-way and read into a fresh stage goes on the same.
TEST(Selector, StageFedOneValuePerBarMatchesTheBatch) {
    for (const bool initialised : {false, true}) {
        const LibraryStateGuard state(initialised);
        const std::vector<double> input = make_series(700, 5);
        const Index last = Index(input.size()) - 1;
        for (std::int32_t type = 0; type < MA_TYPE_COUNT; ++type) {
            for (const std::int32_t period : {1, 2, 3, 8, 31}) {
                const Output expected = selected(input, 0, std::int32_t(last), period, type);
                ASSERT_EQ(expected.rc, RC_OK);
                AnyMaKernel stage(period, type, current_unstable_periods());
                ASSERT_EQ(stage.lookback(), ma_lookback(period, type));
                AnyMaKernel restored(period, type, current_unstable_periods());
                for (Index i = 0; i <= last; ++i) {
                    if (i == last / 2) {
                        std::vector<std::uint8_t> bytes;
                        StateWriter writer(bytes);
                        writer(stage);
                        StateReader reader(bytes);
                        reader(restored);
                        ASSERT_TRUE(reader.ok() && reader.at_end());
                    }
                    double value = -1.5, again = -1.5;
                    const bool ready = stage.push(i, input[std::size_t(i)], &value);
                    const bool ready_again = i >= last / 2 && restored.push(i, input[std::size_t(i)], &again);
                    ASSERT_EQ(ready, i >= expected.begin) << "type " << type << " period " << period << " bar " << i;
                    if (!ready) continue;
                    const double want = expected.values[std::size_t(i - expected.begin)];
                    ASSERT_TRUE(same_bits(want, value)) << "type " << type << " period " << period << " bar " << i;
                    if (i >= last / 2) EXPECT_TRUE(ready_again && same_bits(want, again));
                }
            }
        }
    }
}

}  // namespace
}  // namespace movlex::test
