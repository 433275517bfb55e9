// The extreme of a sliding window, carried from bar to bar: the window is
// rescanned only when the bar holding the extreme has left it; otherwise only
// the newest value is compared. Among equal values the newest one always
// replaces the extreme in the incremental step; in a rescan the tie rule
// decides (MAX, MIN, WILLR and the stochastics keep the oldest, Aroon the
// newest). All comparisons are ordered, so a NaN never replaces the extreme.
#pragma once

#include "frame/contract.hpp"

namespace movlex {

enum class RescanTies { keep_oldest, take_newest };

struct Highest {
    static bool beats(double candidate, double extreme) { return candidate > extreme; }
};
struct Lowest {
    static bool beats(double candidate, double extreme) { return candidate < extreme; }
};

template <class Direction, RescanTies ties = RescanTies::keep_oldest>
class WindowExtreme {
public:
    // Moves the window to trailing..today (today the newest bar, one step on
    // from the previous call or the first call) and returns the extreme.
    double advance(const double* series, Index trailing, Index today) {
        if (index_ < trailing) {
            index_ = trailing;
            value_ = series[trailing];
            for (Index j = trailing + 1; j <= today; ++j)
                if (replaces_in_rescan(series[j])) {
                    value_ = series[j];
                    index_ = j;
                }
        } else if (Direction::beats(series[today], value_) || series[today] == value_) {
            value_ = series[today];
            index_ = today;
        }
        return value_;
    }

    double value() const { return value_; }
    Index index() const { return index_; }

private:
    bool replaces_in_rescan(double candidate) const {
        if constexpr (ties == RescanTies::keep_oldest)
            return Direction::beats(candidate, value_);
        else
            return Direction::beats(candidate, value_) || candidate == value_;
    }

    Index index_ = -1;  // none yet
    double value_ = 0.0;
};

}  // namespace movlex
