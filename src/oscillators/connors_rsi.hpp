// Connors RSI (Larry Connors and Cesar Alvarez): the mean of three readings
// of how stretched the close is, each 0..100: a short RSI of the close, an
// RSI of the run of up or down closes, and the rank of the day's change
// among the changes before it.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "oscillators/momentum.hpp"
#include "oscillators/rsi.hpp"
#include "statistics/percent_rank.hpp"

namespace movlex {

inline constexpr std::array CRSI_PARAMS{integer_param("rsi_period", 3, 2), integer_param("streak_period", 2, 2),
                                        integer_param("rank_period", 100, 1)};

// Input the close; output the index. The streak is 0 at the first bar, then
// the count of consecutive rising closes (1, 2, ...), of falling closes (-1,
// -2, ...), or 0 for an unchanged close. The change is ROC(1)'s. crsi =
// ((RSI(rsi_period) of the close + RSI(streak_period) of the streak) +
// percent rank over rank_period of the change) / 3, from the bar all three
// have a value, each fed from the first bar (the change from the second).
class CrsiKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;

    CrsiKernel(std::int32_t rsi_period, std::int32_t streak_period, std::int32_t rank_period, std::int32_t unstable)
        : close_rsi_(rsi_period, unstable),
          streak_rsi_(streak_period, unstable),
          rank_(rank_period),
          changes_(Index{rank_period} + 1),
          first_bar_(1) {}

    Index history() const { return 2; }
    Index lookback() const {
        return std::max({close_rsi_.lookback(), streak_rsi_.lookback(), 1 + rank_.lookback()});
    }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const double close = bars(0, i);
        double close_rsi = 0.0, streak_rsi = 0.0, rank = 0.0;
        bool ready = close_rsi_.step(ValueBars{close}, i, &close_rsi);
        if (first_bar_.consume()) {
            streak_rsi_.step(ValueBars{streak_}, i, &streak_rsi);
            return false;
        }
        const double previous = bars(0, i - 1);
        advance_streak(close, previous);
        ready = streak_rsi_.step(ValueBars{streak_}, i, &streak_rsi) && ready;
        ready = rank_.step(changes_.push(i, percent_change(close, previous)), i, &rank) && ready;
        if (!ready) return false;
        out[0] = combine(close_rsi, streak_rsi, rank);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const double close = bars(0, i);
        const double previous = bars(0, i - 1);
        double close_rsi, streak_rsi, rank;
        close_rsi_.steady(ValueBars{close}, i, &close_rsi);
        advance_streak(close, previous);
        streak_rsi_.steady(ValueBars{streak_}, i, &streak_rsi);
        rank_.steady(changes_.push(i, percent_change(close, previous)), i, &rank);
        out[0] = combine(close_rsi, streak_rsi, rank);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(close_rsi_);
        archive(streak_rsi_);
        archive(rank_);
        archive(changes_);
        archive(first_bar_);
        archive(streak_);
    }

private:
    void advance_streak(double close, double previous) {
        if (close > previous)
            streak_ = streak_ > 0.0 ? streak_ + 1.0 : 1.0;
        else if (close < previous)
            streak_ = streak_ < 0.0 ? streak_ - 1.0 : -1.0;
        else
            streak_ = 0.0;
    }

    static double combine(double close_rsi, double streak_rsi, double rank) {
        return ((close_rsi + streak_rsi) + rank) / 3.0;
    }

    RsiKernel close_rsi_;
    RsiKernel streak_rsi_;
    PercentRankKernel rank_;
    DerivedSeries changes_;
    WarmUp first_bar_;
    double streak_ = 0.0;
};

inline CrsiKernel crsi_kernel(const double* params, const UnstablePeriods& unstable) {
    return CrsiKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]),
                      unstable[UNSTABLE_RSI]);
}

}  // namespace movlex
