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
// Taking the extreme afresh costs nothing extra: a double-ended queue keeps
// the window's candidates, the bars that no newer value outranks, oldest
// first, so the fresh extreme is its front. Every bar enters and leaves the
// queue at most once, so a bar costs the same whatever the length.
#pragma once

#include <cstdint>
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
    explicit WindowExtreme(Index length) : length_(length), candidates_(ring_length(length)) {}

    // Bar `today` enters the window (series(j) is the value of bar j, bars
    // entering one after another), without asking for the extreme: the
    // window's first bars, before it is full.
    template <class Series>
    void enter(const Series& series, Index today) {
        const Index trailing = today - length_ + 1;
        while (count_ > 0 && front() < trailing) drop_front();
        const double value = series(today);
        if (value != value) return;  // a NaN is never a candidate
        while (count_ > 0 && outranks(value, series(back()))) drop_back();
        push_back(today);
    }

    // Bar `today` enters and the extreme of the window ending there is returned.
    template <class Series>
    double advance(const Series& series, Index today) {
        enter(series, today);
        const Index trailing = today - length_ + 1;
        if (index_ < trailing) {
            const double oldest = series(trailing);
            index_ = oldest != oldest ? trailing : front();
            value_ = series(index_);
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
        archive.bounded(count_, 0, length_);
        archive.bounded(head_, 0, Index(candidates_.size()) - 1);
        for (Index& bar : candidates_) archive.bounded(bar, 0, INDEX_LIMIT);
        archive.bounded(index_, -1, INDEX_LIMIT);
        archive(value_);
    }

private:
    // Bar numbers stay below this, far from overflow in any arithmetic on them.
    static constexpr Index INDEX_LIMIT = Index{1} << 62;

    static std::size_t ring_length(Index length) {
        std::size_t ring = 1;
        while (Index(ring) < length) ring *= 2;
        return ring;
    }

    // Whether a new value removes an older candidate: a greater one (for the
    // highest) always; an equal one when the newest of equals is wanted.
    static bool outranks(double value, double candidate) {
        if constexpr (ties == RescanTies::keep_oldest)
            return Direction::beats(value, candidate);
        else
            return Direction::beats(value, candidate) || value == candidate;
    }

    Index& slot(Index position) { return candidates_[std::size_t(position) & (candidates_.size() - 1)]; }
    Index front() { return slot(head_); }
    Index back() { return slot(head_ + count_ - 1); }
    void drop_front() {
        head_ = (head_ + 1) & Index(candidates_.size() - 1);
        --count_;
    }
    void drop_back() { --count_; }
    void push_back(Index bar) {
        slot(head_ + count_) = bar;
        ++count_;
    }

    Index length_ = 1;
    std::vector<Index> candidates_ = std::vector<Index>(1);  // a ring of bar numbers, oldest first
    Index head_ = 0;                                         // ring position of the oldest candidate
    Index count_ = 0;
    Index index_ = -1;  // the bar holding the extreme; none yet
    double value_ = 0.0;
};

}  // namespace movlex
