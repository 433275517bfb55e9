// Every candlestick pattern, once: its name, its detector and a line saying
// what it is. MOVLEX_CANDLE_PATTERNS(X) calls X(name, Detector, summary) for
// each, in the order of the indicator table; patterns::name is the detector.
#pragma once

#include "patterns/more_candles.hpp"
#include "patterns/one_candle.hpp"
#include "patterns/three_candles.hpp"
#include "patterns/two_candles.hpp"

namespace movlex::patterns {

using namespace shapes;

// Bullish above a white candle in a rise, bearish below a black one in a fall.
using SideBySide = Either<SideBySideWhiteLines<1>, SideBySideWhiteLines<-1>>;

// clang-format off
#define MOVLEX_CANDLE_PATTERNS(X) \
    X(doji, AgainstTrend<Doji>, "Doji: open and close (almost) equal") \
    X(long_legged_doji, AgainstTrend<LongLeggedDoji>, "Long-legged doji: a doji with long shadows") \
    X(rickshaw_man, AgainstTrend<RickshawMan>, "Rickshaw man: a long-legged doji with its body mid-range") \
    X(dragonfly_doji, AgainstTrend<DragonflyDoji>, "Dragonfly doji: a doji at the top of a long lower shadow") \
    X(gravestone_doji, AgainstTrend<GravestoneDoji>, "Gravestone doji: a doji at the foot of a long upper shadow") \
    X(hammer, Rising<Hammer>, "Hammer: after a fall, a small body over a long lower shadow") \
    X(hanging_man, MirrorOf<InvertedHammer>, "Hanging man: after a rise, a small body over a long lower shadow") \
    X(inverted_hammer, Rising<InvertedHammer>, "Inverted hammer: after a fall, a small body under a long upper shadow") \
    X(shooting_star, MirrorOf<Hammer>, "Shooting star: after a rise, a small body under a long upper shadow") \
    X(takuri, Rising<Takuri>, "Takuri line: after a fall, a lower shadow of three bodies and more") \
    X(marubozu, Symmetric<Marubozu>, "Marubozu: a long body without shadows") \
    X(closing_marubozu, Symmetric<ClosingMarubozu>, "Closing marubozu: no shadow at the close's end") \
    X(opening_marubozu, Symmetric<OpeningMarubozu>, "Opening marubozu: no shadow at the open's end") \
    X(spinning_top, AgainstTrend<SpinningTop>, "Spinning top: a small body, both shadows longer") \
    X(high_wave, AgainstTrend<HighWave>, "High-wave candle: a small body, very long shadows") \
    X(long_line, Symmetric<LongLine>, "Long-line candle: a long body, shorter shadows") \
    X(short_line, Symmetric<ShortLine>, "Short-line candle: a short body, shorter shadows") \
    X(belt_hold, Symmetric<BeltHold>, "Belt hold: a long candle opening at its extreme against the trend") \
    X(engulfing, Symmetric<Engulfing>, "Engulfing: a body engulfing the opposite body before it") \
    X(harami, Symmetric<Harami>, "Harami: a small body within the long body before it") \
    X(harami_cross, Symmetric<HaramiCross>, "Harami cross: a doji within the long body before it") \
    X(piercing, Rising<Piercing>, "Piercing line: a white candle closing past the middle of a long black one") \
    X(dark_cloud_cover, MirrorOf<Piercing>, "Dark cloud cover: a black candle closing past the middle of a long white one") \
    X(doji_star, Symmetric<DojiStar>, "Doji star: a doji gapping away from a long body") \
    X(kicking, Symmetric<Kicking>, "Kicking: a marubozu gapping away from one of the other colour") \
    X(counterattack, Symmetric<Counterattack>, "Counterattack lines: opposite long candles with the same close") \
    X(separating_lines, Symmetric<SeparatingLines>, "Separating lines: opposite candles with the same open, with the trend") \
    X(matching_low, Rising<MatchingLow>, "Matching low: two black candles with the same close") \
    X(homing_pigeon, Rising<HomingPigeon>, "Homing pigeon: a short black body within a long black one") \
    X(in_neck, Falling<InNeck>, "In-neck line: a white candle closing just into a long black one") \
    X(on_neck, Falling<OnNeck>, "On-neck line: a white candle closing at a long black one's low") \
    X(thrusting, Falling<Thrusting>, "Thrusting line: a white candle closing into a long black one, short of its middle") \
    X(tweezers, Symmetric<Tweezers>, "Tweezers bottom and top: the same low, or high, on opposite candles") \
    X(hikkake, Symmetric<Hikkake>, "Hikkake: a false break of an inside bar, and its confirmation") \
    X(morning_star, Rising<MorningStar>, "Morning star: long black, a star below it, a white candle past its middle") \
    X(evening_star, MirrorOf<MorningStar>, "Evening star: long white, a star above it, a black candle past its middle") \
    X(morning_doji_star, Rising<MorningDojiStar>, "Morning doji star: a morning star whose star is a doji") \
    X(evening_doji_star, MirrorOf<MorningDojiStar>, "Evening doji star: an evening star whose star is a doji") \
    X(abandoned_baby, Symmetric<AbandonedBaby>, "Abandoned baby: a doji isolated by gaps on both sides") \
    X(three_white_soldiers, Rising<ThreeWhiteSoldiers>, "Three white soldiers: three white candles stepping up") \
    X(three_black_crows, MirrorOf<ThreeWhiteSoldiers>, "Three black crows: three black candles stepping down") \
    X(identical_three_crows, Falling<IdenticalThreeCrows>, "Identical three crows: each black candle opens at the close before") \
    X(three_inside, Symmetric<ThreeInside>, "Three inside up and down: a harami and its confirmation") \
    X(three_outside, Symmetric<ThreeOutside>, "Three outside up and down: an engulfing and its confirmation") \
    X(three_line_strike, Symmetric<ThreeLineStrike>, "Three-line strike: three candles with the trend, one wiping them out") \
    X(three_stars_in_the_south, Rising<ThreeStarsInTheSouth>, "Three stars in the south: three shrinking black candles") \
    X(two_crows, Falling<TwoCrows>, "Two crows: two black candles over a long white one") \
    X(upside_gap_two_crows, Falling<UpsideGapTwoCrows>, "Upside gap two crows: two black candles above a gap") \
    X(unique_three_river, Rising<UniqueThreeRiver>, "Unique three river bottom") \
    X(advance_block, Falling<AdvanceBlock>, "Advance block: three white candles losing strength") \
    X(stalled_pattern, Falling<StalledPattern>, "Stalled pattern: two long white candles and a short one") \
    X(stick_sandwich, Rising<StickSandwich>, "Stick sandwich: two black closes at one level around a white candle") \
    X(tasuki_gap, Symmetric<TasukiGap>, "Tasuki gap: a window partly filled against the trend") \
    X(gap_three_methods, Symmetric<GapThreeMethods>, "Gap three methods: a window closed against the trend") \
    X(side_by_side_white_lines, SideBySide, "Side-by-side white lines after a window") \
    X(tristar, Symmetric<Tristar>, "Tristar: three doji, the middle one gapping away") \
    X(ladder_bottom, Rising<LadderBottom>, "Ladder bottom: four falling black candles and a white one gapping up") \
    X(concealing_baby_swallow, Rising<ConcealingBabySwallow>, "Concealing baby swallow: four black candles, the last engulfing") \
    X(breakaway, Symmetric<Breakaway>, "Breakaway: a gap, three candles on, and a long candle back into the gap") \
    X(three_methods, Symmetric<ThreeMethods>, "Rising and falling three methods") \
    X(mat_hold, Symmetric<MatHold>, "Mat hold: a gap, a short pause, and a candle beyond it")
// clang-format on

// patterns::NAME is the detector of pattern NAME.
#define MOVLEX_PATTERN_TYPE(name, Detector, summary) using name = Detector;
MOVLEX_CANDLE_PATTERNS(MOVLEX_PATTERN_TYPE)
#undef MOVLEX_PATTERN_TYPE

}  // namespace movlex::patterns
