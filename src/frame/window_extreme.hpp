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
//
// The suffixes are kept in a table of fixed size inside the object, so that
// no window extreme ever allocates: each entry holds the bar of the extreme
// from the first bar of a chunk of bars to the block's end. A block of up to
// SUFFIX_CHUNKS bars has chunks of one bar; a longer one has chunks of a
// power of two bars, and the bars between the trailing bar and the next chunk
// are scanned (fewer than the chunk's length), continuing the same scan
// back, so that the result is the one of a table with one entry per bar.
//
// Taking the extreme afresh is given only the block state, the series and the
// bar numbers, and returns the new extreme: the window itself never has its
// address taken, so a loop over the bars keeps the carried extreme in
// registers.
#pragma once

#include <array>
#include <cstdint>
#include <limits>

#include "frame/contract.hpp"
#include "frame/kernel.hpp"

namespace movlex {

enum class RescanTies { keep_oldest, take_newest };

// beats: strictly better; reaches: better or equal (one comparison, false
// for a NaN on either side as both of the other two are).
struct Highest {
    static bool beats(double candidate, double extreme) { return candidate > extreme; }
    static bool reaches(double candidate, double extreme) { return candidate >= extreme; }
};
struct Lowest {
    static bool beats(double candidate, double extreme) { return candidate < extreme; }
    static bool reaches(double candidate, double extreme) { return candidate <= extreme; }
};

// Input k of a kernel's bars as a series of bar numbers.
template <class Bars>
auto input_series(const Bars& bars, int k) {
    return [&bars, k](Index j) { return bars(k, j); };
}
// The caller's array itself, so that nothing on the stack is referred to.
template <int N>
auto input_series(const PointerBars<N>& bars, int k) {
    return [values = bars.arrays[std::size_t(k)]](Index j) { return values[j]; };
}

template <class Direction, RescanTies ties = RescanTies::keep_oldest>
class WindowExtreme {
public:
    WindowExtreme() = default;
    // A short window uses no blocks; a longer one has chunks of 2^chunk_shift_ bars.
    explicit WindowExtreme(Index length) : length_(length) {
        while ((length_ - 1) >> chunk_shift_ >= SUFFIX_CHUNKS) ++chunk_shift_;
    }

    // The extreme of the window ending at bar `today` (series(j) is the value
    // of bar j, for every bar of the window). Called for one bar after
    // another from the first full window on; nothing is fed before it.
    template <class Series>
    [[gnu::always_inline]] double advance(const Series& series, Index today) {
        const Index trailing = today - length_ + 1;
        if (index_ < trailing) {
            const Candidate fresh = length_ <= SHORT_WINDOW
                                        ? scan_window(series, trailing, today)
                                        : take_afresh(blocks_, length_, chunk_shift_, series, trailing, today);
            value_ = fresh.value;
            index_ = fresh.bar;
        } else if (const double newest = series(today); Direction::reaches(newest, value_)) {
            value_ = newest;
            index_ = today;
        }
        return value_;
    }

    double value() const { return value_; }
    Index index() const { return index_; }

    // The block state, the number of chunks (0 for a short window, which
    // stores its unused block state as it was made), each chunk's suffix bar,
    // then the extreme's bar and value.
    template <class Archive>
    void visit(Archive& archive) {
        const bool short_window = length_ <= SHORT_WINDOW;
        if (short_window)
            archive.fixed(blocks_);
        else
            archive(blocks_);
        std::int32_t chunks = short_window ? 0 : std::int32_t(((length_ - 1) >> chunk_shift_) + 1);
        archive.bounded(chunks, chunks, chunks);
        for (std::int32_t c = 0; c < chunks; ++c)
            archive.bounded(blocks_.suffix[std::size_t(c)], -1, std::int32_t(length_ - 1));
        archive.bounded(index_, -1, INDEX_LIMIT);
        archive(value_);
    }

private:
    // Bar numbers stay within this, far from overflow in any arithmetic on them.
    static constexpr Index INDEX_LIMIT = Index{1} << 62;
    static constexpr Index SHORT_WINDOW = 16;
    // Entries of the suffix table (512 bytes).
    static constexpr Index SUFFIX_CHUNKS = 128;

    // Whether a newer value wins over an older one: when greater (for the
    // highest), and when equal if the newest of equals is wanted.
    static bool outranks(double newer, double older) {
        if constexpr (ties == RescanTies::keep_oldest)
            return Direction::beats(newer, older);
        else
            return Direction::reaches(newer, older);
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
    [[gnu::always_inline]] static Candidate scan_window(const Series& series, Index trailing, Index today) {
        Candidate best{series(trailing), trailing};
        for (Index j = trailing + 1; j <= today; ++j)
            if (const double value = series(j); outranks(value, best.value)) best.set(value, j);  // never a NaN
        return best;
    }

    // Where the block scans stand, and what they found.
    struct Blocks {
        Index block_start = 0;   // the current block's first bar, as of the last time it was needed
        Candidate prefix;        // of the current block, from its first bar ..
        Index prefix_end = -1;   // .. to this one
        Index suffix_block = -1;  // the block whose suffixes are known,
        Index suffix_from = 0;    // from this bar (a chunk's first) on:
        // the bar of the extreme from each chunk's first bar to the block's
        // end, counted from the block's first bar; -1 when there is none
        std::array<std::int32_t, SUFFIX_CHUNKS> suffix{};

        template <class Archive>
        void visit(Archive& archive) {
            archive.bounded(block_start, 0, INDEX_LIMIT);
            archive(prefix);
            archive.bounded(prefix_end, -INDEX_LIMIT, INDEX_LIMIT);
            archive.bounded(suffix_block, -INDEX_LIMIT, INDEX_LIMIT);
            archive.bounded(suffix_from, -INDEX_LIMIT, INDEX_LIMIT);
        }
    };

    // The window's oldest value when it is a NaN (nothing replaces a NaN);
    // else the better of the extremes of the window's part in the earlier
    // block (none when the window is the current block) and of its part in
    // the current block.
    // Kept out of line, so that the common step stays small enough to be
    // inlined into the loop over the bars.
    template <class Series>
    [[gnu::noinline]] static Candidate take_afresh(Blocks& blocks, Index length, int chunk_shift, Series series,
                                                   Index trailing, Index today) {
        if (const double oldest = series(trailing); oldest != oldest) return Candidate{oldest, trailing};
        move_block(blocks, length, today);
        Candidate best = prefix(blocks, series, today);
        if (trailing < blocks.block_start)
            if (const Candidate older = suffix(blocks, length, chunk_shift, series, trailing);
                best.none() || !outranks(best.value, older.value))
                best = older;
        return best;
    }

    // Blocks follow one another from bar 0; the current one holds today.
    static void move_block(Blocks& blocks, Index length, Index today) {
        Index& start = blocks.block_start;
        if (today < start) start = 0;
        if (today - start >= length) start += (today - start) / length * length;
    }

    // The extreme of the current block up to today, carried on from where
    // it was last brought up to date.
    template <class Series>
    static Candidate prefix(Blocks& blocks, const Series& series, Index today) {
        if (blocks.prefix_end < blocks.block_start || blocks.prefix_end > today) {  // of an earlier block
            blocks.prefix = Candidate{};
            blocks.prefix_end = blocks.block_start - 1;
        }
        for (Index bar = blocks.prefix_end + 1; bar <= today; ++bar) blocks.prefix.take_newer(series(bar), bar);
        blocks.prefix_end = today;
        return blocks.prefix;
    }

    // The extreme of the earlier block from `trailing` to its end. Its
    // chunks' suffixes are scanned once, from the block's end back to the
    // chunk of the first trailing bar asked for; later windows ask for later
    // bars. The bars from `trailing` to the end of its chunk are then taken
    // in the same backward order, onto the next chunk's suffix.
    template <class Series>
    static Candidate suffix(Blocks& blocks, Index length, int chunk_shift, const Series& series, Index trailing) {
        const Index block = blocks.block_start - length;
        const Index chunk = (trailing - block) >> chunk_shift;
        const Index chunk_start = block + (chunk << chunk_shift);
        if (blocks.suffix_block != block || chunk_start < blocks.suffix_from) {
            Candidate best;
            const Index chunk_mask = (Index{1} << chunk_shift) - 1;
            for (Index bar = blocks.block_start - 1; bar >= chunk_start; --bar) {
                best.take_older(series(bar), bar);
                if (((bar - block) & chunk_mask) == 0)
                    blocks.suffix[std::size_t((bar - block) >> chunk_shift)] =
                        best.none() ? -1 : std::int32_t(best.bar - block);
            }
            blocks.suffix_block = block;
            blocks.suffix_from = chunk_start;
        }
        if (trailing == chunk_start) return stored(blocks, block, series, chunk);
        const Index next_start = chunk_start + (Index{1} << chunk_shift);
        Candidate best;
        Index bar = blocks.block_start - 1;
        if (next_start < blocks.block_start) {
            best = stored(blocks, block, series, chunk + 1);
            bar = next_start - 1;
        }
        for (; bar >= trailing; --bar) best.take_older(series(bar), bar);
        return best;
    }

    // The suffix of one chunk, read back from the table.
    template <class Series>
    static Candidate stored(const Blocks& blocks, Index block, const Series& series, Index chunk) {
        const std::int32_t offset = blocks.suffix[std::size_t(chunk)];
        if (offset < 0) return Candidate{};
        return Candidate{series(block + offset), block + offset};
    }

    Index length_ = 1;
    int chunk_shift_ = 0;
    Blocks blocks_;  // used by a long window only
    Index index_ = -1;  // the bar holding the extreme; none yet
    double value_ = 0.0;
};

}  // namespace movlex
