// The detector of every candlestick pattern and a line saying what it is:
// patterns::NAME for each NAME of MOVLEX_CANDLE_PATTERN_LIST (movlex_extended.h),
// the one list of the patterns' names and order.
#pragma once

#include "movlex_extended.h"
#include "patterns/more_candles.hpp"
#include "patterns/one_candle.hpp"
#include "patterns/three_candles.hpp"
#include "patterns/two_candles.hpp"

namespace movlex::patterns {

using namespace shapes;

// Bullish above a white candle in a rise, bearish below a black one in a fall.
using SideBySide = Either<SideBySideWhiteLines<1>, SideBySideWhiteLines<-1>>;

struct doji : AgainstTrend<Doji> {
    static constexpr const char* summary = "Doji: open and close (almost) equal";
};
struct long_legged_doji : AgainstTrend<LongLeggedDoji> {
    static constexpr const char* summary = "Long-legged doji: a doji with long shadows";
};
struct rickshaw_man : AgainstTrend<RickshawMan> {
    static constexpr const char* summary = "Rickshaw man: a long-legged doji with its body mid-range";
};
struct dragonfly_doji : AgainstTrend<DragonflyDoji> {
    static constexpr const char* summary = "Dragonfly doji: a doji at the top of a long lower shadow";
};
struct gravestone_doji : AgainstTrend<GravestoneDoji> {
    static constexpr const char* summary = "Gravestone doji: a doji at the foot of a long upper shadow";
};
struct hammer : Rising<Hammer> {
    static constexpr const char* summary = "Hammer: after a fall, a small body over a long lower shadow";
};
struct hanging_man : MirrorOf<InvertedHammer> {
    static constexpr const char* summary = "Hanging man: after a rise, a small body over a long lower shadow";
};
struct inverted_hammer : Rising<InvertedHammer> {
    static constexpr const char* summary = "Inverted hammer: after a fall, a small body under a long upper shadow";
};
struct shooting_star : MirrorOf<Hammer> {
    static constexpr const char* summary = "Shooting star: after a rise, a small body under a long upper shadow";
};
struct takuri : Rising<Takuri> {
    static constexpr const char* summary = "Takuri line: after a fall, a lower shadow of three bodies and more";
};
struct marubozu : Symmetric<Marubozu> {
    static constexpr const char* summary = "Marubozu: a long body without shadows";
};
struct closing_marubozu : Symmetric<ClosingMarubozu> {
    static constexpr const char* summary = "Closing marubozu: no shadow at the close's end";
};
struct opening_marubozu : Symmetric<OpeningMarubozu> {
    static constexpr const char* summary = "Opening marubozu: no shadow at the open's end";
};
struct spinning_top : AgainstTrend<SpinningTop> {
    static constexpr const char* summary = "Spinning top: a small body, both shadows longer";
};
struct high_wave : AgainstTrend<HighWave> {
    static constexpr const char* summary = "High-wave candle: a small body, very long shadows";
};
struct long_line : Symmetric<LongLine> {
    static constexpr const char* summary = "Long-line candle: a long body, shorter shadows";
};
struct short_line : Symmetric<ShortLine> {
    static constexpr const char* summary = "Short-line candle: a short body, shorter shadows";
};
struct belt_hold : Symmetric<BeltHold> {
    static constexpr const char* summary = "Belt hold: a long candle opening at its extreme against the trend";
};
struct engulfing : Symmetric<Engulfing> {
    static constexpr const char* summary = "Engulfing: a body engulfing the opposite body before it";
};
struct harami : Symmetric<Harami> {
    static constexpr const char* summary = "Harami: a small body within the long body before it";
};
struct harami_cross : Symmetric<HaramiCross> {
    static constexpr const char* summary = "Harami cross: a doji within the long body before it";
};
struct piercing : Rising<Piercing> {
    static constexpr const char* summary = "Piercing line: a white candle closing past the middle of a long black one";
};
struct dark_cloud_cover : MirrorOf<Piercing> {
    static constexpr const char* summary = "Dark cloud cover: a black candle closing past the middle of a long white one";
};
struct doji_star : Symmetric<DojiStar> {
    static constexpr const char* summary = "Doji star: a doji gapping away from a long body";
};
struct kicking : Symmetric<Kicking> {
    static constexpr const char* summary = "Kicking: a marubozu gapping away from one of the other colour";
};
struct counterattack : Symmetric<Counterattack> {
    static constexpr const char* summary = "Counterattack lines: opposite long candles with the same close";
};
struct separating_lines : Symmetric<SeparatingLines> {
    static constexpr const char* summary = "Separating lines: opposite candles with the same open, with the trend";
};
struct matching_low : Rising<MatchingLow> {
    static constexpr const char* summary = "Matching low: two black candles with the same close";
};
struct homing_pigeon : Rising<HomingPigeon> {
    static constexpr const char* summary = "Homing pigeon: a short black body within a long black one";
};
struct in_neck : Falling<InNeck> {
    static constexpr const char* summary = "In-neck line: a white candle closing just into a long black one";
};
struct on_neck : Falling<OnNeck> {
    static constexpr const char* summary = "On-neck line: a white candle closing at a long black one's low";
};
struct thrusting : Falling<Thrusting> {
    static constexpr const char* summary = "Thrusting line: a white candle closing into a long black one, short of its middle";
};
struct tweezers : Symmetric<Tweezers> {
    static constexpr const char* summary = "Tweezers bottom and top: the same low, or high, on opposite candles";
};
struct hikkake : Symmetric<Hikkake> {
    static constexpr const char* summary = "Hikkake: a false break of an inside bar, and its confirmation";
};
struct morning_star : Rising<MorningStar> {
    static constexpr const char* summary = "Morning star: long black, a star below it, a white candle past its middle";
};
struct evening_star : MirrorOf<MorningStar> {
    static constexpr const char* summary = "Evening star: long white, a star above it, a black candle past its middle";
};
struct morning_doji_star : Rising<MorningDojiStar> {
    static constexpr const char* summary = "Morning doji star: a morning star whose star is a doji";
};
struct evening_doji_star : MirrorOf<MorningDojiStar> {
    static constexpr const char* summary = "Evening doji star: an evening star whose star is a doji";
};
struct abandoned_baby : Symmetric<AbandonedBaby> {
    static constexpr const char* summary = "Abandoned baby: a doji isolated by gaps on both sides";
};
struct three_white_soldiers : Rising<ThreeWhiteSoldiers> {
    static constexpr const char* summary = "Three white soldiers: three white candles stepping up";
};
struct three_black_crows : MirrorOf<ThreeWhiteSoldiers> {
    static constexpr const char* summary = "Three black crows: three black candles stepping down";
};
struct identical_three_crows : Falling<IdenticalThreeCrows> {
    static constexpr const char* summary = "Identical three crows: each black candle opens at the close before";
};
struct three_inside : Symmetric<ThreeInside> {
    static constexpr const char* summary = "Three inside up and down: a harami and its confirmation";
};
struct three_outside : Symmetric<ThreeOutside> {
    static constexpr const char* summary = "Three outside up and down: an engulfing and its confirmation";
};
struct three_line_strike : Symmetric<ThreeLineStrike> {
    static constexpr const char* summary = "Three-line strike: three candles with the trend, one wiping them out";
};
struct three_stars_in_the_south : Rising<ThreeStarsInTheSouth> {
    static constexpr const char* summary = "Three stars in the south: three shrinking black candles";
};
struct two_crows : Falling<TwoCrows> {
    static constexpr const char* summary = "Two crows: two black candles over a long white one";
};
struct upside_gap_two_crows : Falling<UpsideGapTwoCrows> {
    static constexpr const char* summary = "Upside gap two crows: two black candles above a gap";
};
struct unique_three_river : Rising<UniqueThreeRiver> {
    static constexpr const char* summary = "Unique three river bottom";
};
struct advance_block : Falling<AdvanceBlock> {
    static constexpr const char* summary = "Advance block: three white candles losing strength";
};
struct stalled_pattern : Falling<StalledPattern> {
    static constexpr const char* summary = "Stalled pattern: two long white candles and a short one";
};
struct stick_sandwich : Rising<StickSandwich> {
    static constexpr const char* summary = "Stick sandwich: two black closes at one level around a white candle";
};
struct tasuki_gap : Symmetric<TasukiGap> {
    static constexpr const char* summary = "Tasuki gap: a window partly filled against the trend";
};
struct gap_three_methods : Symmetric<GapThreeMethods> {
    static constexpr const char* summary = "Gap three methods: a window closed against the trend";
};
struct side_by_side_white_lines : SideBySide {
    static constexpr const char* summary = "Side-by-side white lines after a window";
};
struct tristar : Symmetric<Tristar> {
    static constexpr const char* summary = "Tristar: three doji, the middle one gapping away";
};
struct ladder_bottom : Rising<LadderBottom> {
    static constexpr const char* summary = "Ladder bottom: four falling black candles and a white one gapping up";
};
struct concealing_baby_swallow : Rising<ConcealingBabySwallow> {
    static constexpr const char* summary = "Concealing baby swallow: four black candles, the last engulfing";
};
struct breakaway : Symmetric<Breakaway> {
    static constexpr const char* summary = "Breakaway: a gap, three candles on, and a long candle back into the gap";
};
struct three_methods : Symmetric<ThreeMethods> {
    static constexpr const char* summary = "Rising and falling three methods";
};
struct mat_hold : Symmetric<MatHold> {
    static constexpr const char* summary = "Mat hold: a gap, a short pause, and a candle beyond it";
};

}  // namespace movlex::patterns
