// Each candlestick pattern on a hand-made fixture: a few candles of context
// and the pattern, which must fire at its last candle with the right sign,
// and a near miss (one condition broken) where it must not. The context is
// five candles of body 1 and range 2 (the averages, with a period of 5, are
// then 1 and 2 exactly), falling or rising to a close of 100; prices are
// binary fractions so that every comparison is exact. Then the thresholds of
// the settings table at their edges.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "candle_patterns.hpp"  // generated: patterns::<name>, MOVLEX_CANDLE_PATTERNS
#include "frame/kernel.hpp"
#include "movlex_extended.h"
#include "patterns/scan.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

struct Ohlc {
    double open, high, low, close;
};

enum class Context { falling, rising };

struct Fixture {
    const char* pattern;
    Context context;
    std::vector<Ohlc> candles;  // the pattern; the last one is where it fires
    int sign;                   // the value at the last candle
    int miss_index;             // the near miss: candles[miss_index] replaced by miss
    Ohlc miss;
};

constexpr std::int32_t PERIOD = 5;

// The last `count` candles of the context (a longer one starts further up,
// or down, the same slope).
std::vector<Ohlc> context(Context trend, int count = 6) {
    std::vector<Ohlc> candles;
    for (int j = 6 - count; j < 6; ++j) {
        if (trend == Context::falling) {
            const double open = 106.0 - j;
            candles.push_back({open, open + 0.5, open - 1.5, open - 1.0});
        } else {
            const double open = 94.0 + j;
            candles.push_back({open, open + 1.5, open - 0.5, open + 1.0});
        }
    }
    return candles;
}

using Runner = double (*)(const std::vector<Ohlc>&, const CandleSettings&);

// The pattern's value at the last candle.
template <class Detector>
double last_value(const std::vector<Ohlc>& candles, const CandleSettings& settings) {
    std::array<std::vector<double>, 4> columns;
    for (const Ohlc& c : candles) {
        columns[0].push_back(c.open);
        columns[1].push_back(c.high);
        columns[2].push_back(c.low);
        columns[3].push_back(c.close);
    }
    const PatternKernel<Detector> kernel(settings);
    const Index last = Index(candles.size()) - 1;
    if (last < kernel.lookback()) return -99.0;
    std::vector<double> out(candles.size());
    run_kernel(kernel, std::array<const double*, 4>{columns[0].data(), columns[1].data(), columns[2].data(),
                                                    columns[3].data()},
               0, last, std::array<double*, 1>{out.data()});
    return out[std::size_t(last - kernel.lookback())];
}

struct Named {
    const char* name;
    Runner run;
};

#define MOVLEX_PATTERN_RUNNER(name) {#name, &last_value<patterns::name>},
const Named RUNNERS[] = {MOVLEX_CANDLE_PATTERNS(MOVLEX_PATTERN_RUNNER)};
#undef MOVLEX_PATTERN_RUNNER

Runner runner(const std::string& name) {
    for (const Named& n : RUNNERS)
        if (name == n.name) return n.run;
    return nullptr;
}

constexpr auto D = Context::falling;
constexpr auto U = Context::rising;
const Ohlc LONG_BLACK{101, 101.25, 98.75, 99};
const Ohlc LONG_WHITE{99, 101.25, 98.75, 101};

const Fixture FIXTURES[] = {
    // One candle
    {"doji", D, {{100, 101, 99, 100.0625}}, 1, 0, {100, 101, 99, 100.25}},
    {"doji", U, {{100, 101, 99, 100.0625}}, -1, 0, {100, 101, 99, 100.25}},
    {"long_legged_doji", D, {{100, 102, 98, 100.0625}}, 1, 0, {100, 102, 99.0625, 100.0625}},
    {"rickshaw_man", D, {{100, 102.5, 97.5, 100.0625}}, 1, 0, {100.5, 102.5, 97.5, 100.5625}},
    {"dragonfly_doji", D, {{100, 100.0625, 98, 100.0625}}, 1, 0, {100, 100.5, 98, 100.0625}},
    {"gravestone_doji", U, {{100, 102, 99.9375, 99.9375}}, -1, 0, {100, 102, 99.5, 99.9375}},
    {"hammer", D, {{100, 100.5625, 98.5, 100.5}}, 1, 0, {100, 100.5625, 99.125, 100.5}},
    {"hanging_man", U, {{100, 100.5625, 98.5, 100.5}}, -1, 0, {100, 100.5625, 99.125, 100.5}},
    {"inverted_hammer", D, {{100, 101.5, 99.9375, 100.5}}, 1, 0, {100, 101.375, 99.9375, 100.5}},
    {"shooting_star", U, {{100, 101.5, 99.9375, 100.5}}, -1, 0, {100, 101.375, 99.9375, 100.5}},
    {"takuri", D, {{100, 100.25, 97.75, 100.25}}, 1, 0, {100, 100.25, 99, 100.25}},
    {"marubozu", D, {{100, 102, 100, 102}}, 1, 0, {100, 102.5, 100, 102}},
    {"marubozu", U, {{102, 102, 100, 100}}, -1, 0, {102, 102, 99.5, 100}},
    {"closing_marubozu", D, {{100, 102, 99.5, 102}}, 1, 0, {100, 102, 99.9375, 102}},
    {"opening_marubozu", D, {{100, 102.5, 100, 102}}, 1, 0, {100, 102.0625, 100, 102}},
    {"spinning_top", D, {{100, 101, 99, 100.375}}, 1, 0, {100, 100.625, 99, 100.375}},
    {"high_wave", D, {{100, 101.5, 98.75, 100.375}}, 1, 0, {100, 101.5, 99, 100.375}},
    {"long_line", D, {{100, 102, 99.5, 101.5}}, 1, 0, {100, 102, 99.5, 101.25}},
    {"short_line", D, {{100, 100.625, 99.75, 100.5}}, 1, 0, {100, 101, 99.75, 100.5}},
    {"belt_hold", D, {{100, 102, 100, 101.5}}, 1, 0, {100, 102, 99.75, 101.5}},
    {"belt_hold", U, {{100, 100, 98, 98.5}}, -1, 0, {100, 100.25, 98, 98.5}},
    // Two candles
    {"engulfing", D, {{100, 100.25, 98.75, 99}, {98.75, 100.5, 98.5, 100.25}}, 1, 1, {98.75, 100.5, 98.5, 99.875}},
    {"engulfing", U, {{100, 101.25, 99.75, 101}, {101.25, 101.5, 99.5, 99.75}}, -1, 1, {101.25, 101.5, 99.5, 100.125}},
    {"harami", D, {LONG_BLACK, {99.75, 100.25, 99.5, 100.25}}, 1, 0, {100.25, 100.5, 98.75, 99}},
    {"harami_cross", D, {LONG_BLACK, {100, 100.5, 99.5, 100.0625}}, 1, 1, {100, 100.5, 99.5, 100.5}},
    {"piercing", D, {LONG_BLACK, {98.5, 100.5, 98.25, 100.25}}, 1, 1, {98.5, 100.5, 98.25, 99.75}},
    {"dark_cloud_cover", U, {LONG_WHITE, {101.5, 101.75, 99.5, 99.75}}, -1, 1, {101.5, 101.75, 99.5, 100.25}},
    {"doji_star", D, {LONG_BLACK, {98.5, 98.75, 98.25, 98.5625}}, 1, 1, {99, 99.25, 98.75, 99.0625}},
    {"kicking", D, {{101, 101, 99, 99}, {101.5, 103.5, 101.5, 103.5}}, 1, 1, {101, 103, 101, 103}},
    {"counterattack", D, {LONG_BLACK, {97, 99.25, 96.75, 99.0625}}, 1, 1, {97, 99.25, 96.75, 99.25}},
    {"separating_lines", U, {{100.5, 100.75, 99.75, 100}, {100.5, 102.5, 100.25, 102.5}}, 1, 1,
     {100.75, 102.5, 100.25, 102.5}},
    {"matching_low", D, {LONG_BLACK, {99.75, 100, 98.9375, 99.0625}}, 1, 1, {99.75, 100, 98.9375, 99.25}},
    {"homing_pigeon", D, {LONG_BLACK, {100.25, 100.5, 99.25, 99.75}}, 1, 1, {99.75, 100.5, 99.25, 100.25}},
    {"in_neck", D, {LONG_BLACK, {98.5, 99.25, 98.25, 99.125}}, -1, 1, {98.5, 99.5, 98.25, 99.5}},
    {"on_neck", D, {LONG_BLACK, {98.25, 98.875, 98, 98.75}}, -1, 1, {98.25, 99, 98, 99}},
    {"thrusting", D, {LONG_BLACK, {98.5, 99.75, 98.25, 99.625}}, -1, 1, {98.5, 100.5, 98.25, 100.25}},
    {"tweezers", D, {LONG_BLACK, {99, 100, 98.75, 99.75}}, 1, 1, {99, 100, 98.5, 99.75}},
    {"hikkake", D,
     {{100, 101, 99, 100.5}, {100.5, 101.5, 99.5, 100}, {100, 102, 98, 101}, {100.5, 101.5, 99, 100.75},
      {100, 101, 98.5, 99.5}},
     1, 4, {100, 101, 99.25, 99.5}},
    {"hikkake", D,
     {{100, 102, 98, 101}, {100.5, 101.5, 99, 100.75}, {100, 101, 98.5, 99.5}, {99.5, 101, 99, 100.5},
      {100.5, 102, 100, 101.75}},
     2, 4, {100.5, 102, 100, 101.25}},
    // Three candles
    {"morning_star", D, {LONG_BLACK, {98.5, 98.75, 98.25, 98.75}, {98.75, 100.5, 98.5, 100.25}}, 1, 2,
     {98.75, 100.5, 98.5, 99.75}},
    {"evening_star", U, {LONG_WHITE, {101.25, 101.75, 101.25, 101.5}, {101.25, 101.5, 99.5, 99.75}}, -1, 2,
     {101.25, 101.5, 99.5, 100.25}},
    {"morning_doji_star", D, {LONG_BLACK, {98.5, 98.75, 98.25, 98.5625}, {98.75, 100.5, 98.5, 100.25}}, 1, 1,
     {98.25, 98.75, 98, 98.75}},
    {"evening_doji_star", U, {LONG_WHITE, {101.25, 101.75, 101.25, 101.3125}, {101.25, 101.5, 99.5, 99.75}}, -1, 1,
     {101.25, 101.75, 101.25, 101.75}},
    {"abandoned_baby", D, {LONG_BLACK, {98.25, 98.5, 98, 98.3125}, {98.75, 100.25, 98.625, 100}}, 1, 2,
     {98.75, 100.25, 98.5, 100}},
    {"three_white_soldiers", D, {{99, 100.5, 98.875, 100.5}, {100, 101.5, 99.875, 101.5}, {101, 102.5, 100.875, 102.5}},
     1, 2, {101.625, 102.5, 101.5, 102.5}},
    {"three_black_crows", U, {{101, 101.125, 99.5, 99.5}, {100, 100.125, 98.5, 98.5}, {99, 99.125, 97.5, 97.5}}, -1, 2,
     {98.375, 98.5, 97.5, 97.5}},
    {"identical_three_crows", U, {{101, 101.125, 99.5, 99.5}, {99.5, 99.625, 98, 98}, {98, 98.125, 96.5, 96.5}}, -1, 2,
     {97.75, 98.125, 96.5, 96.5}},
    {"three_inside", D, {LONG_BLACK, {99.5, 100.25, 99.25, 100}, {100, 101.5, 99.75, 101.25}}, 1, 2,
     {100, 101.5, 99.75, 100.875}},
    {"three_outside", D, {{100, 100.25, 98.75, 99}, {98.75, 100.75, 98.5, 100.5}, {100.5, 101.5, 100.25, 101.25}}, 1, 2,
     {100.25, 101, 100, 100.375}},
    {"three_line_strike", U,
     {{100, 101.25, 99.875, 101}, {101, 102.25, 100.875, 102}, {102, 103.25, 101.875, 103}, {103.5, 103.75, 99.5, 99.75}},
     1, 3, {103.5, 103.75, 99.5, 100.25}},
    {"three_stars_in_the_south", D,
     {{101, 101.25, 98, 99}, {100.5, 100.75, 98.5, 99.25}, {99.125, 99.125, 98.75, 98.75}}, 1, 2,
     {99.125, 99.5, 98.75, 98.75}},
    {"two_crows", U, {LONG_WHITE, {101.75, 102, 101.125, 101.25}, {101.5, 101.75, 99.75, 100}}, -1, 2,
     {101.5, 101.75, 98.5, 98.75}},
    {"upside_gap_two_crows", U, {LONG_WHITE, {101.75, 102, 101.25, 101.5}, {102, 102.25, 101.125, 101.25}}, -1, 2,
     {102, 102.25, 100.75, 100.875}},
    {"unique_three_river", D, {LONG_BLACK, {100.5, 100.75, 98.25, 99.5}, {99, 99.375, 98.75, 99.25}}, 1, 2,
     {99, 99.75, 98.75, 99.625}},
    {"advance_block", U, {{100, 102, 99.875, 101.75}, {101, 102.75, 100.875, 102.5}, {102, 103.5, 101.875, 102.75}}, -1,
     2, {102, 102.75, 101.875, 102.75}},
    {"stalled_pattern", U,
     {{100, 101.875, 99.875, 101.75}, {101, 103, 100.875, 102.75}, {102.75, 103.25, 102.625, 103}}, -1, 2,
     {102.25, 103.25, 102.125, 103}},
    {"stick_sandwich", D, {{100, 100.25, 98.75, 99}, {99.25, 100.75, 99.125, 100.5}, {101, 101.25, 98.875, 99.0625}}, 1,
     2, {101, 101.25, 98.875, 99.25}},
    {"tasuki_gap", U, {{100, 101.25, 99.875, 101}, {101.5, 102.75, 101.5, 102.5}, {102, 102.125, 101.25, 101.375}}, 1, 2,
     {102, 102.125, 101, 101.125}},
    {"gap_three_methods", U, {{100, 101.25, 99.875, 101}, {101.5, 102.75, 101.5, 102.5}, {102, 102.125, 100.25, 100.5}},
     1, 2, {102, 102.125, 100.25, 101.125}},
    {"side_by_side_white_lines", U,
     {{100, 101.125, 99.875, 101}, {101.5, 102.75, 101.375, 102.5}, {101.5, 102.625, 101.375, 102.4375}}, 1, 2,
     {101.75, 102.625, 101.375, 102.4375}},
    {"side_by_side_white_lines", D,
     {{101, 101.125, 99.875, 100}, {98.5, 99.75, 98.375, 99.5}, {98.5, 99.625, 98.375, 99.4375}}, -1, 2,
     {98.75, 99.625, 98.375, 99.4375}},
    {"tristar", D, {{99.5, 100, 99, 99.5625}, {98.5, 98.75, 98.25, 98.5625}, {99, 99.5, 98.75, 99.0625}}, 1, 2,
     {99, 99.5, 98.75, 99.5}},
    // Four and five candles
    {"ladder_bottom", D,
     {{101, 101.25, 99.25, 99.5},
      {100.5, 100.75, 98.75, 99},
      {100, 100.25, 97.75, 98},
      {98, 99, 97.25, 97.5},
      {98.25, 99.5, 98, 99.25}},
     1, 4, {98.25, 99.5, 98, 98.875}},
    {"concealing_baby_swallow", D,
     {{101, 101, 99, 99}, {99.5, 99.5, 97.5, 97.5}, {97, 98, 96.5, 96.75}, {98.25, 98.25, 96.25, 96.25}}, 1, 3,
     {98.25, 98.25, 96.5, 96.625}},
    {"breakaway", D,
     {{101.5, 101.75, 99.25, 99.5},
      {99, 99.125, 98.25, 98.5},
      {98.5, 98.75, 97.75, 98},
      {98, 98.25, 97.25, 97.5},
      {97.5, 99.375, 97.375, 99.25}},
     1, 4, {97.5, 99.375, 97.375, 98.875}},
    {"three_methods", U,
     {{100, 102.25, 99.875, 102},
      {101.75, 102, 101.25, 101.5},
      {101.5, 101.75, 101, 101.25},
      {101.25, 101.5, 100.75, 101},
      {101.25, 103.25, 101.125, 103}},
     1, 2, {101.5, 102.5, 101, 101.25}},
    {"mat_hold", U,
     {{100, 102.125, 99.875, 102},
      {102.75, 103, 102.25, 102.5},
      {102.5, 102.75, 101.75, 102},
      {102, 102.25, 101.25, 101.5},
      {101.75, 103.5, 101.625, 103.25}},
     1, 4, {101.75, 103.5, 101.625, 102.875}},
};

CandleSettings fixture_settings() {
    CandleSettings settings;
    settings.period = PERIOD;
    return settings;
}

TEST(CandlePatterns, EachFiresOnItsFixtureAndNotOnItsNearMiss) {
    for (const Fixture& f : FIXTURES) {
        SCOPED_TRACE(f.pattern);
        const Runner run = runner(f.pattern);
        ASSERT_NE(run, nullptr);
        std::vector<Ohlc> candles = context(f.context);
        const std::size_t first = candles.size();
        candles.insert(candles.end(), f.candles.begin(), f.candles.end());
        EXPECT_EQ(run(candles, fixture_settings()), double(f.sign));
        candles[first + std::size_t(f.miss_index)] = f.miss;
        EXPECT_EQ(run(candles, fixture_settings()), 0.0) << "near miss";
    }
}

TEST(CandlePatterns, EveryPatternHasAFixture) {
    for (const Named& n : RUNNERS) {
        bool found = false;
        for (const Fixture& f : FIXTURES) found = found || std::string(f.pattern) == n.name;
        EXPECT_TRUE(found) << n.name;
    }
}

// Each threshold at its edge: a candle whose averages are 1 (body) and 2
// (range), with multiples that are binary fractions, so that the edge value
// is exact.
TEST(CandlePatterns, ThresholdsHoldAtTheirEdges) {
    CandleSettings s;
    s.long_body = 1.5;
    s.short_body = 0.5;
    s.doji_body = 0.125;
    s.long_shadow = 2.0;
    s.very_short_shadow = 0.0625;
    s.prices_near = 0.25;
    s.prices_far = 0.75;
    s.prices_equal = 0.03125;
    const Thresholds is{s};
    // A candle with averages 1 and 2, its traits judged.
    auto judged = [&](double open, double high, double low, double close) {
        Candle c{open, high, low, close, 1.0, 2.0, 0.0, 0};
        c.traits = is.traits(c);
        return c;
    };
    auto candle = [&](double open, double close) { return judged(open, close + 10, open - 10, close); };

    EXPECT_FALSE(is.long_body(candle(100, 101.5)));  // long: more than the multiple
    EXPECT_TRUE(is.long_body(candle(100, 101.5625)));
    EXPECT_TRUE(is.short_body(candle(100, 100.5)));  // short: at most
    EXPECT_FALSE(is.short_body(candle(100, 100.5625)));
    EXPECT_TRUE(is.doji(candle(100, 100.25)));  // doji: at most, of the average range
    EXPECT_FALSE(is.doji(candle(100, 100.3125)));
    // Shadows of a white body 100 to 100.5: very short at most 0.125 (of the
    // average range), long at least 1 (twice the body).
    EXPECT_TRUE(is.very_short_upper(judged(100, 100.625, 99, 100.5)));
    EXPECT_FALSE(is.very_short_upper(judged(100, 100.6875, 99, 100.5)));
    EXPECT_TRUE(is.very_short_lower(judged(100, 101, 99.875, 100.5)));
    EXPECT_FALSE(is.very_short_lower(judged(100, 101, 99.8125, 100.5)));
    EXPECT_TRUE(is.long_upper(judged(100, 101.5, 99, 100.5)));
    EXPECT_FALSE(is.long_upper(judged(100, 101.4375, 99, 100.5)));
    EXPECT_TRUE(is.long_lower(judged(100, 101, 99, 100.5)));
    EXPECT_FALSE(is.long_lower(judged(100, 101, 99.0625, 100.5)));
    EXPECT_FALSE(is.long_upper(judged(100, 100.1875, 99, 100.0625)));  // never a very short one
    // High and low far from the body: more than 1.5; the close near the high: at most 0.5.
    EXPECT_FALSE(is.far_above(judged(100, 102, 99, 100.5)));
    EXPECT_TRUE(is.far_above(judged(100, 102.0625, 99, 100.5)));
    EXPECT_FALSE(is.far_below(judged(100, 101, 98.5, 100.5)));
    EXPECT_TRUE(is.far_below(judged(100, 101, 98.4375, 100.5)));
    EXPECT_TRUE(is.closes_near_high(judged(100, 101, 99, 100.5)));
    EXPECT_FALSE(is.closes_near_high(judged(100, 101.0625, 99, 100.5)));
    const Candle c = candle(100, 100.5);
    EXPECT_TRUE(is.near(100.5, 100, c));
    EXPECT_FALSE(is.near(100.5625, 100, c));
    EXPECT_FALSE(is.far(101.5, 100, c));  // far: more than the multiple
    EXPECT_TRUE(is.far(101.5625, 100, c));
    EXPECT_TRUE(is.equal(100, 100.0625, c));
    EXPECT_FALSE(is.equal(100, 100.125, c));
}

// The settings reach the pattern: a wider doji limit turns the doji's near
// miss into a doji, a longer period moves the first output.
TEST(CandlePatterns, SettingsReachThePattern) {
    std::vector<Ohlc> candles = context(Context::falling);
    candles.push_back({100, 101, 99, 100.25});
    const Runner doji = runner("doji");
    EXPECT_EQ(doji(candles, fixture_settings()), 0.0);
    CandleSettings wide = fixture_settings();
    wide.doji_body = 0.125;
    EXPECT_EQ(doji(candles, wide), 1.0);
    CandleSettings longer = fixture_settings();
    longer.period = 7;
    EXPECT_EQ(doji(candles, longer), -99.0);  // before the first output
}

// Bars on a coarse grid of prices (steps of 1/4), with shadows of zero to
// two steps and every seventh bar flat: equal prices, bodies of zero and
// shadows at the thresholds' edges are frequent. With gaps, every fifth bar
// opens up to four steps away from the close before.
Bars coarse_bars(std::size_t count, std::uint64_t seed, bool gaps = false) {
    Bars bars;
    std::uint64_t state = seed;
    auto step = [&state](int steps) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        return int((state >> 33) % std::uint64_t(steps));
    };
    int price = 400;  // in quarters
    for (std::size_t i = 0; i < count; ++i) {
        const bool flat = i % 7 == 3;
        if (gaps && i % 5 == 1) price += step(9) - 4;
        const int open = price;
        price += flat ? 0 : step(9) - 4;
        const int close = price;
        const int high = std::max(open, close) + (flat ? 0 : step(3));
        const int low = std::min(open, close) - (flat ? 0 : step(3));
        bars.open.push_back(open / 4.0);
        bars.high.push_back(high / 4.0);
        bars.low.push_back(low / 4.0);
        bars.close.push_back(close / 4.0);
        bars.volume.push_back(1.0);
    }
    return bars;
}

// The bearish side of a pattern reads its candles upside down, with their
// traits swapped side for side rather than judged again: those are the
// traits the upside-down candle is judged to have, tie for tie.
TEST(CandlePatterns, UpsideDownCandlesHaveTheirTraitsSwapped) {
    const Bars bars = coarse_bars(400, 5);
    CandleSettings s;
    for (const double multiple : {0.25, 1.0}) {  // the near and far edges on the grid
        s.prices_near = multiple / 2;
        s.prices_far = multiple;
        const Thresholds is{s};
        for (std::size_t i = 0; i < bars.size(); ++i) {
            Candle c{bars.open[i], bars.high[i], bars.low[i], bars.close[i], 0.5, 1.0, 100.0, 0};
            c.traits = is.traits(c);
            Candle flipped = mirrored(c);
            const std::uint32_t swapped = flipped.traits;
            flipped.traits = is.traits(flipped);
            EXPECT_EQ(flipped.traits, swapped) << "bar " << i;
        }
    }
}

// The scan gives each pattern's own values, row by row, at the default
// settings and at others.
void scan_matches_entries(const Bars& bars) {
    const std::int32_t last = std::int32_t(bars.size()) - 1;
    MovlexCandleSettings defaults;
    movlex_candle_settings_default(&defaults);
    MovlexCandleSettings custom = defaults;
    custom.period = 5;
    custom.long_body = 1.0;

    const std::int32_t patterns = movlex_candle_pattern_count();
    ASSERT_EQ(patterns, std::int32_t(std::size(RUNNERS)));
    for (const MovlexCandleSettings* settings : {&defaults, &custom}) {
        std::vector<std::int8_t> scan(bars.size() * std::size_t(patterns));
        std::int32_t scan_begin = -1, scan_count = -1;
        ASSERT_EQ(movlex_candle_scan(0, last, bars.open.data(), bars.high.data(), bars.low.data(), bars.close.data(),
                                     settings, &scan_begin, &scan_count, scan.data()),
                  RC_OK);
        EXPECT_EQ(scan_begin, settings->period + 5);
        int fired = 0;
        for (std::int32_t j = 0; j < patterns; ++j) {
            const IndicatorInfo* row = find_indicator(std::string("candle_") + movlex_candle_pattern_name(j));
            ASSERT_NE(row, nullptr);
            Request request;
            request.last_index = last;
            for (int k = 0; k < 4; ++k)
                request.inputs[k] = std::array{bars.open.data(), bars.high.data(), bars.low.data(),
                                               bars.close.data()}[std::size_t(k)];
            const double values[] = {double(settings->period), settings->long_body,        settings->short_body,
                                     settings->doji_body,      settings->long_shadow,      settings->very_short_shadow,
                                     settings->prices_near,    settings->prices_far,       settings->prices_equal};
            std::copy(std::begin(values), std::end(values), request.params.begin());
            std::vector<double> own(bars.size());
            std::int32_t begin = -1, count = -1;
            request.out_begin = &begin;
            request.out_count = &count;
            request.outputs[0] = own.data();
            ASSERT_EQ(row->invoke(request), RC_OK);
            for (std::int32_t k = 0; k < scan_count; ++k) {
                const std::int32_t bar = scan_begin + k;
                ASSERT_GE(bar, begin);
                EXPECT_EQ(double(scan[std::size_t(k * patterns + j)]), own[std::size_t(bar - begin)])
                    << row->name << " at bar " << bar;
                fired += scan[std::size_t(k * patterns + j)] != 0;
            }
        }
        EXPECT_GT(fired, 0);
    }
}

// The entries: NULL and the default settings, and a structure of default
// sentinels, give the same bits; a setting out of range is refused; the scan
// gives each pattern's own values, on prices of a random walk and on prices
// full of ties and flat bars.
TEST(CandlePatterns, EntriesTakeTheirSettingsAndTheScanMatchesThem) {
    for (const Bars& bars : {make_bars(600, 27), coarse_bars(600, 27), coarse_bars(2000, 31, true)})
        scan_matches_entries(bars);

    const Bars bars = make_bars(600, 27);
    const std::int32_t last = 599;
    MovlexCandleSettings defaults;
    movlex_candle_settings_default(&defaults);
    MovlexCandleSettings sentinels{DEFAULT_INT, DEFAULT_REAL, DEFAULT_REAL, DEFAULT_REAL, DEFAULT_REAL,
                                   DEFAULT_REAL, DEFAULT_REAL, DEFAULT_REAL, DEFAULT_REAL};
    MovlexCandleSettings bad = defaults;
    bad.prices_far = -1.0;

    std::vector<double> by_null(bars.size()), by_defaults(bars.size()), by_sentinels(bars.size());
    std::int32_t begin = -1, count = -1;
    const auto hammer = [&](const MovlexCandleSettings* settings, double* out) {
        return movlex_candle_hammer(0, last, bars.open.data(), bars.high.data(), bars.low.data(), bars.close.data(),
                                    settings, &begin, &count, out);
    };
    ASSERT_EQ(hammer(nullptr, by_null.data()), RC_OK);
    ASSERT_EQ(hammer(&defaults, by_defaults.data()), RC_OK);
    ASSERT_EQ(hammer(&sentinels, by_sentinels.data()), RC_OK);
    EXPECT_TRUE(same_values(by_null.data(), by_defaults.data(), std::size_t(count)));
    EXPECT_TRUE(same_values(by_null.data(), by_sentinels.data(), std::size_t(count)));
    EXPECT_EQ(hammer(&bad, by_null.data()), RC_BAD_ARGUMENT);
}

// The scan on each fixture: the pattern's column holds its sign at the last
// candle, and 0 on the near miss. Random candles seldom make the longer
// patterns; these make each of them at least once.
TEST(CandlePatterns, TheScanFiresOnEachFixture) {
    for (const Fixture& f : FIXTURES) {
        SCOPED_TRACE(f.pattern);
        const auto column = std::find_if(std::begin(CANDLE_PATTERN_NAMES), std::end(CANDLE_PATTERN_NAMES),
                                         [&](const char* name) { return std::string(name) == f.pattern; });
        ASSERT_NE(column, std::end(CANDLE_PATTERN_NAMES));
        std::vector<Ohlc> candles = context(f.context, 12);
        const std::size_t first = candles.size();
        candles.insert(candles.end(), f.candles.begin(), f.candles.end());
        for (const bool miss : {false, true}) {
            if (miss) candles[first + std::size_t(f.miss_index)] = f.miss;
            ScanKernel kernel(fixture_settings());
            std::vector<std::int8_t> row(CANDLE_PATTERN_COUNT, std::int8_t(-99));
            bool written = false;
            for (std::size_t i = 0; i < candles.size(); ++i) {
                const Ohlc& c = candles[i];
                const double prices[] = {c.open, c.high, c.low, c.close};
                const auto bars = [&](int k, Index) { return prices[k]; };
                written = kernel.step(bars, Index(i), row.data());
            }
            ASSERT_TRUE(written);
            EXPECT_EQ(row[std::size_t(column - std::begin(CANDLE_PATTERN_NAMES))], miss ? 0 : f.sign)
                << (miss ? "near miss" : "");
        }
    }
}

}  // namespace
}  // namespace movlex::test
