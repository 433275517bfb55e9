// A quick first look at the recent candles for the scan: each candle's traits,
// colour and the trend before it packed into one word, and what a shape needs
// of those words before its full test can hold. A shape's needs are only
// necessary conditions: a pattern whose needs are not met gives 0 without its
// test being run, and one whose needs are met is decided by its test alone.
#pragma once

#include <cstdint>

#include "patterns/candle_history.hpp"

namespace movlex {

// The marks of one candle: its CandleTrait bits and these. The trend marks of
// candle k are those of the trend before a pattern whose first candle is k
// (RecentCandles::trend(k + 1)).
inline constexpr std::uint32_t WHITE = 1u << 11;
inline constexpr std::uint32_t BLACK = 1u << 12;
inline constexpr std::uint32_t AFTER_RISE = 1u << 13;
inline constexpr std::uint32_t AFTER_FALL = 1u << 14;
inline constexpr int MARK_BITS = 16;
inline constexpr int MARKED_CANDLES = 5;  // candles 0 (the current one) to 4
inline constexpr int CANDLES_PER_WORD = 64 / MARK_BITS;
static_assert((AFTER_FALL >> MARK_BITS) == 0 && std::uint32_t(LOW_NEAR_CLOSE) < WHITE);

// The marks of the candle turned upside down: sided traits, colours and
// trends change places.
constexpr std::uint32_t mirrored_marks(std::uint32_t marks) {
    const std::uint32_t swapped = WHITE | BLACK | AFTER_RISE | AFTER_FALL;
    return mirrored_traits(marks & ~swapped) | ((marks & (WHITE | AFTER_RISE)) << 1) |
           ((marks & (BLACK | AFTER_FALL)) >> 1);
}

// The marks of candles 0 to MARKED_CANDLES - 1, each in MARK_BITS bits.
struct CandleMarks {
    std::uint64_t word[2] = {};

    static CandleMarks of(const RecentCandles& recent) {
        CandleMarks m;
        // Each comparison made and its bit set without a branch; the trend
        // marks compare as RecentCandles::trend(k + 1) does.
        for (int k = 0; k < MARKED_CANDLES; ++k) {
            const Candle& c = recent[k];
            const double prior = recent[k + 1].close, mean = c.close_average;
            const std::uint64_t marks = c.traits | bit(c.close > c.open, WHITE) | bit(c.close < c.open, BLACK) |
                                        bit(prior > mean, AFTER_RISE) | bit(prior < mean, AFTER_FALL);
            m.word[k / CANDLES_PER_WORD] |= marks << (MARK_BITS * (k % CANDLES_PER_WORD));
        }
        return m;
    }

private:
    static std::uint32_t bit(bool holds, std::uint32_t mark) { return std::uint32_t(holds) * mark; }
};

// Marks a shape's candles must have (has) and must not have (lacks).
struct Needs {
    std::uint64_t mask[2] = {}, value[2] = {};

    constexpr Needs has(int k, std::uint32_t marks) const {
        Needs n = *this;
        n.mask[k / CANDLES_PER_WORD] |= std::uint64_t(marks) << shift(k);
        n.value[k / CANDLES_PER_WORD] |= std::uint64_t(marks) << shift(k);
        return n;
    }
    constexpr Needs lacks(int k, std::uint32_t marks) const {
        Needs n = *this;
        n.mask[k / CANDLES_PER_WORD] |= std::uint64_t(marks) << shift(k);
        return n;
    }
    // The same needs of the candles upside down.
    constexpr Needs mirrored() const {
        Needs n;
        for (int k = 0; k < MARKED_CANDLES; ++k) {
            n.mask[k / CANDLES_PER_WORD] |= std::uint64_t(mirrored_marks(field(mask, k))) << shift(k);
            n.value[k / CANDLES_PER_WORD] |= std::uint64_t(mirrored_marks(field(value, k))) << shift(k);
        }
        return n;
    }
    bool met_by(const CandleMarks& m) const {
        return ((m.word[0] & mask[0]) == value[0]) & ((m.word[1] & mask[1]) == value[1]);
    }

private:
    static constexpr int shift(int k) { return MARK_BITS * (k % CANDLES_PER_WORD); }
    static constexpr std::uint32_t field(const std::uint64_t (&words)[2], int k) {
        return std::uint32_t(words[k / CANDLES_PER_WORD] >> shift(k)) & ((1u << MARK_BITS) - 1);
    }
};

// A shape's needs: its `needs` member when it has one, none otherwise.
template <class Shape>
constexpr Needs needs_of() {
    if constexpr (requires { Shape::needs; })
        return Shape::needs;
    else
        return Needs{};
}
template <class Shape>
inline constexpr Needs NEEDS = needs_of<Shape>();
template <class Shape>
inline constexpr Needs MIRRORED_NEEDS = NEEDS<Shape>.mirrored();

}  // namespace movlex
