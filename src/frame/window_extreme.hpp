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
// Taking the extreme afresh costs a constant: the bars are cut into blocks of
// `length` bars from the first one, and a window spans the end of one block
// and the start of the next. The extreme of every suffix of a block is found
// once, scanning back from its last bar, and that of the current block's
// prefix as bars arrive; the window's extreme is the better of the two parts.
// A bar is compared twice whatever the length. A short window (up to
// SHORT_WINDOW bars) is simply scanned again, which costs less there.
#pragma once

#include <cstdint>
#include <limits>
#include <vector>

#include "frame/contract.hpp"

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
    // A short window needs no blocks, and so no memory of its own.
    explicit WindowExtreme(Index length)
        : length_(length),
          suffix_value_(length > SHORT_WINDOW ? std::size_t(length) : 0),
          suffix_bar_(length > SHORT_WINDOW ? std::size_t(length) : 0) {}

    // Bar `today` enters the window (series(j) is the value of bar j, bars
    // entering one after another), without asking for the extreme: the
    // window's first bars, before it is full.
    template <class Series>
    void enter(const Series& series, Index today) {
        if (length_ <= SHORT_WINDOW) return;
        if (offset_ == 0) prefix_ = Candidate{};
        prefix_.take_newer(series(today), today);
        if (offset_ == length_ - 1) {
            scan_block(series, today);
            offset_ = 0;
        } else {
            ++offset_;
        }
    }

    // Bar `today` enters and the extreme of the window ending there is returned.
    template <class Series>
    double advance(const Series& series, Index today) {
        enter(series, today);
        const Index trailing = today - length_ + 1;
        if (index_ < trailing) {
            if (length_ <= SHORT_WINDOW)
                scan_window(series, trailing, today);
            else
                take_afresh(series(trailing), trailing);
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
        archive.bounded(offset_, 0, length_ - 1);
        archive(prefix_);
        archive(suffix_value_);
        for (Index& bar : suffix_bar_) archive.bounded(bar, -1, INDEX_LIMIT);
        archive.bounded(index_, -1, INDEX_LIMIT);
        archive(value_);
    }

private:
    // Bar numbers stay below this, far from overflow in any arithmetic on them.
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

    // The block ending today: the extreme of each of its suffixes.
    template <class Series>
    void scan_block(const Series& series, Index today) {
        Candidate best;
        for (Index k = length_ - 1; k >= 0; --k) {
            const Index bar = today - (length_ - 1) + k;
            best.take_older(series(bar), bar);
            suffix_value_[std::size_t(k)] = best.value;
            suffix_bar_[std::size_t(k)] = best.bar;
        }
    }

    // The window's oldest value when it is a NaN (nothing replaces a NaN);
    // else the better of the extremes of the window's part in the block of
    // its oldest bar (whose place in its block is offset_) and of its part in
    // the current block (the prefix; the same block when the window is one).
    void take_afresh(double oldest, Index trailing) {
        if (oldest != oldest) {
            value_ = oldest;
            index_ = trailing;
            return;
        }
        const std::size_t slot = std::size_t(offset_);
        const bool prefix_wins = !prefix_.none() && (suffix_value_[slot] != suffix_value_[slot] ||
                                                     outranks(prefix_.value, suffix_value_[slot]));
        value_ = prefix_wins ? prefix_.value : suffix_value_[slot];
        index_ = prefix_wins ? prefix_.bar : suffix_bar_[slot];
    }

    Index length_ = 1;
    Index offset_ = 0;  // place of the next bar in its block
    Candidate prefix_;  // of the current block, up to the newest bar
    std::vector<double> suffix_value_;  // of the last complete block, from each place on
    std::vector<Index> suffix_bar_;
    Index index_ = -1;  // the bar holding the extreme; none yet
    double value_ = 0.0;
};

}  // namespace movlex
