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
        archive.bounded(cursor_.block_start, 0, INDEX_LIMIT);
        archive(cursor_.prefix);
        archive.bounded(cursor_.prefix_end, -INDEX_LIMIT, INDEX_LIMIT);
        archive.bounded(cursor_.suffix_block, -INDEX_LIMIT, INDEX_LIMIT);
        archive.bounded(cursor_.suffix_from, -INDEX_LIMIT, INDEX_LIMIT);
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

    // Where the block scans stand.
    struct Cursor {
        Index block_start = 0;   // the current block's first bar, as of the last time it was needed
        Candidate prefix;        // of the current block, from its first bar ..
        Index prefix_end = -1;   // .. to this one
        Index suffix_block = -1;  // the block whose suffixes are known,
        Index suffix_from = 0;    // from this bar on
    };

    // Taking the extreme afresh over the blocks. It works on a copy of the
    // cursor and on the block arrays, never on the window itself, whose
    // address is then never taken: a batch loop keeps the carried extreme
    // in registers.
    struct Rescan {
        Cursor& cursor;
        double* suffix_value;  // the extreme from each bar of the block to its end
        Index* suffix_bar;
        Index length;

        // The window's oldest value when it is a NaN (nothing replaces a
        // NaN); else the better of the extremes of the window's part in the
        // earlier block (none when the window is the current block) and of
        // its part in the current block.
        // Kept out of line, so that the common step stays small enough to
        // be inlined into the loop over the bars.
        template <class Series>
        [[gnu::noinline]] Candidate take_afresh(const Series& series, Index trailing, Index today) {
            if (const double oldest = series(trailing); oldest != oldest) return Candidate{oldest, trailing};
            move_block(today);
            Candidate best = prefix(series, today);
            if (trailing < cursor.block_start)
                if (const Candidate older = suffix(series, trailing);
                    best.none() || !outranks(best.value, older.value))
                    best = older;
            return best;
        }

        // Blocks follow one another from bar 0; the current one holds today.
        void move_block(Index today) {
            Index& start = cursor.block_start;
            if (today < start) start = 0;
            if (today - start >= length) start += (today - start) / length * length;
        }

        // The extreme of the current block up to today, carried on from
        // where it was last brought up to date.
        template <class Series>
        Candidate prefix(const Series& series, Index today) {
            if (cursor.prefix_end < cursor.block_start || cursor.prefix_end > today) {  // of an earlier block
                cursor.prefix = Candidate{};
                cursor.prefix_end = cursor.block_start - 1;
            }
            for (Index bar = cursor.prefix_end + 1; bar <= today; ++bar) cursor.prefix.take_newer(series(bar), bar);
            cursor.prefix_end = today;
            return cursor.prefix;
        }

        // The extreme of the earlier block from `trailing` to its end. Its
        // suffixes are scanned once, from the block's end back to the first
        // trailing bar asked for; later windows ask for later bars.
        template <class Series>
        Candidate suffix(const Series& series, Index trailing) {
            const Index block = cursor.block_start - length;
            if (cursor.suffix_block != block || trailing < cursor.suffix_from) {
                Candidate best;
                for (Index bar = cursor.block_start - 1; bar >= trailing; --bar) {
                    best.take_older(series(bar), bar);
                    suffix_value[bar - block] = best.value;
                    suffix_bar[bar - block] = best.bar;
                }
                cursor.suffix_block = block;
                cursor.suffix_from = trailing;
            }
            return Candidate{suffix_value[trailing - block], suffix_bar[trailing - block]};
        }
    };

    template <class Series>
    void take_afresh(const Series& series, Index trailing, Index today) {
        Cursor cursor = cursor_;
        const Candidate fresh =
            Rescan{cursor, suffix_value_.data(), suffix_bar_.data(), length_}.take_afresh(series, trailing, today);
        cursor_ = cursor;
        value_ = fresh.value;
        index_ = fresh.bar;
    }

    Index length_ = 1;
    Cursor cursor_;
    ScratchVector<double> suffix_value_;  // see Rescan
    ScratchVector<Index> suffix_bar_;
    Index index_ = -1;  // the bar holding the extreme; none yet
    double value_ = 0.0;
};

}  // namespace movlex
