// The extreme of a sliding window of `length` bars, carried from bar to bar.
//
// Its rule: while the bar holding the extreme stays in the window, only the
// newest value is compared, and one equal to the extreme takes its place.
// When that bar leaves, the extreme is taken afresh from the window: its
// oldest value if that is a NaN (nothing replaces a NaN), else the extreme of
// the window's other values, the oldest of equal ones (MAX, MIN, WILLR and
// the stochastics) or the newest (Aroon, whose output shows the bar). All
// comparisons are ordered, so a NaN never replaces the extreme; +0.0 and
// -0.0 are equal, and which one is returned follows the rule above.
//
// Taking the extreme afresh costs a constant on average: the bars are cut
// into blocks of `length` bars from bar 0, so a window is the end of
// one block and the start of the next. The extremes of the earlier block's
// suffixes are found in one scan back from its last bar, the first time one
// is needed; the extreme of the current block's prefix is brought up to date
// when needed. The window's extreme is the better of the two parts. A bar
// is scanned at most once as part of a suffix and once as part of a prefix,
// and a window whose extreme never leaves costs nothing
// more. A short window (up to SHORT_WINDOW bars) is simply scanned again.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "frame/contract.hpp"
#include "frame/scratch.hpp"

namespace movlex {

enum class RescanTies { keep_oldest, take_newest };

struct Highest {
    static bool beats(double candidate, double extreme) { return candidate > extreme; }
};
struct Lowest {
    static bool beats(double candidate, double extreme) { return candidate < extreme; }
};

// Input k of a kernel's bars as a series of bar numbers.
template <class Bars>
auto input_series(const Bars& bars, int k) {
    return [&bars, k](Index j) { return bars(k, j); };
}

template <class Direction, RescanTies ties = RescanTies::keep_oldest>
class WindowExtreme {
public:
    WindowExtreme() = default;
    // A short window needs no blocks, and so no memory of its own; a longer
    // one takes its block arrays from scratch (may throw std::bad_alloc).
    explicit WindowExtreme(Index length)
        : length_(length),
          block_start_(0),
          suffix_value_(length > SHORT_WINDOW ? std::size_t(length) : 0),
          suffix_bar_(length > SHORT_WINDOW ? std::size_t(length) : 0) {}

    // The extreme of the window ending at bar `today` (series(j) is the value
    // of bar j, for every bar of the window). Called for one bar after
    // another from the first full window on; nothing is fed before it.
    template <class Series>
    [[gnu::always_inline]] double advance(const Series& series, Index today) {
        const Index trailing = today - length_ + 1;
        if (index_ < trailing) {
            if (length_ <= SHORT_WINDOW)
                scan_window(series, trailing, today);
            else
                take_afresh(series, trailing, today);
        } else if (const double newest = series(today); Direction::beats(newest, value_) || newest == value_) {
            value_ = newest;
            index_ = today;
        }
        return value_;
    }

    double value() const { return value_; }
    Index index() const { return index_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive.bounded(block_start_, 0, INDEX_LIMIT);
        archive(prefix_);
        archive.bounded(prefix_end_, -INDEX_LIMIT, INDEX_LIMIT);
        archive.bounded(suffix_block_, -INDEX_LIMIT, INDEX_LIMIT);
        archive.bounded(suffix_from_, -INDEX_LIMIT, INDEX_LIMIT);
        archive(suffix_value_);
        for (Index& bar : suffix_bar_) archive.bounded(bar, -1, INDEX_LIMIT);
        archive.bounded(index_, -1, INDEX_LIMIT);
        archive(value_);
    }

private:
    // Bar numbers stay within this, far from overflow in any arithmetic on them.
    static constexpr Index INDEX_LIMIT = Index{1} << 62;
    static constexpr Index SHORT_WINDOW = 16;

    // Whether a newer value wins over an older one: when greater (for the
    // highest), and when equal if the newest of equals is wanted.
    static bool outranks(double newer, double older) {
        if constexpr (ties == RescanTies::keep_oldest)
            return Direction::beats(newer, older);
        else
            return Direction::beats(newer, older) || newer == older;
    }

    // The extreme of a run of bars, NaNs left out; a NaN value when there is none.
    struct Candidate {
        double value = std::numeric_limits<double>::quiet_NaN();
        Index bar = -1;

        bool none() const { return value != value; }
        void take_newer(double newer, Index newer_bar) {
            if (newer == newer && (none() || outranks(newer, value))) set(newer, newer_bar);
        }
        void take_older(double older, Index older_bar) {
            if (older == older && (none() || !outranks(value, older))) set(older, older_bar);
        }
        void set(double new_value, Index new_bar) {
            value = new_value;
            bar = new_bar;
        }
        template <class Archive>
        void visit(Archive& archive) {
            archive(value);
            archive.bounded(bar, -1, INDEX_LIMIT);
        }
    };

    // The window scanned from its oldest bar, which stays the extreme when it
    // is a NaN.
    template <class Series>
    void scan_window(const Series& series, Index trailing, Index today) {
        value_ = series(trailing);
        index_ = trailing;
        for (Index j = trailing + 1; j <= today; ++j)
            if (const double value = series(j); outranks(value, value_)) {  // never a NaN
                value_ = value;
                index_ = j;
            }
    }

    // The window's oldest value when it is a NaN (nothing replaces a NaN);
    // else the better of the extremes of the window's part in the earlier
    // block (none when the window is the current block) and of its part in
    // the current block.
    // Kept out of line, so that the common step stays small enough to be
    // inlined into the loop over the bars.
    template <class Series>
    [[gnu::noinline]] void take_afresh(const Series& series, Index trailing, Index today) {
        if (const double oldest = series(trailing); oldest != oldest) {
            value_ = oldest;
            index_ = trailing;
            return;
        }
        move_block(today);
        Candidate best = prefix(series, today);
        if (trailing < block_start_)
            if (const Candidate older = suffix(series, trailing); best.none() || !outranks(best.value, older.value))
                best = older;
        value_ = best.value;
        index_ = best.bar;
    }

    // Blocks follow one another from bar 0; the current one holds today.
    void move_block(Index today) {
        if (today < block_start_) block_start_ = 0;
        if (today - block_start_ >= length_) block_start_ += (today - block_start_) / length_ * length_;
    }

    // The extreme of the current block up to today, carried on from where
    // it was last brought up to date.
    template <class Series>
    const Candidate& prefix(const Series& series, Index today) {
        if (prefix_end_ < block_start_ || prefix_end_ > today) {  // of an earlier block
            prefix_ = Candidate{};
            prefix_end_ = block_start_ - 1;
        }
        for (Index bar = prefix_end_ + 1; bar <= today; ++bar) prefix_.take_newer(series(bar), bar);
        prefix_end_ = today;
        return prefix_;
    }

    // The extreme of the earlier block from `trailing` to its end. Its
    // suffixes are scanned once, from the block's end back to the first
    // trailing bar asked for; later windows ask for later bars.
    template <class Series>
    Candidate suffix(const Series& series, Index trailing) {
        const Index block = block_start_ - length_;
        if (suffix_block_ != block || trailing < suffix_from_) {
            Candidate best;
            for (Index bar = block_start_ - 1; bar >= trailing; --bar) {
                best.take_older(series(bar), bar);
                suffix_value_[std::size_t(bar - block)] = best.value;
                suffix_bar_[std::size_t(bar - block)] = best.bar;
            }
            suffix_block_ = block;
            suffix_from_ = trailing;
        }
        return Candidate{suffix_value_[std::size_t(trailing - block)], suffix_bar_[std::size_t(trailing - block)]};
    }

    Index length_ = 1;
    Index block_start_ = 0;   // the current block's first bar, as of the last time it was needed
    Candidate prefix_;        // of the current block, from its first bar ..
    Index prefix_end_ = -1;   // .. to this one
    Index suffix_block_ = -1;  // the block whose suffixes are known,
    Index suffix_from_ = 0;    // from this bar on:
    ScratchVector<double> suffix_value_;  // the extreme from each bar of the block to its end
    ScratchVector<Index> suffix_bar_;
    Index index_ = -1;  // the bar holding the extreme; none yet
    double value_ = 0.0;
};

}  // namespace movlex
