// A candlestick pattern as a kernel: the candle history and the pattern's
// test of its most recent candles. A pattern P provides
//
//   static constexpr int candles;   candles it reads, the current one included
//   static int detect(const RecentCandles& recent, const Thresholds& is);
//                                    +1 bullish, -1 bearish, +-2 a confirmed
//                                    delayed signal, 0 none, at the current candle
//
// Its first output is at the first bar whose pattern candles all have a full
// average behind them: lookback period + candles - 1.
#pragma once

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "patterns/candle_history.hpp"

namespace movlex {

template <class Pattern>
class PatternKernel {
public:
    static constexpr int inputs = 4;  // open, high, low, close
    static constexpr int outputs = 1;

    explicit PatternKernel(const CandleSettings& settings)
        : is_{settings}, history_(settings), warm_up_(lookback()) {}

    Index history() const { return 1; }
    Index lookback() const { return Index(is_.s.period) + Pattern::candles - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        history_.push(bars, i);
        if (warm_up_.consume()) return false;
        out[0] = value();
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        history_.push(bars, i);
        out[0] = value();
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(history_);
        archive(warm_up_);
    }

private:
    // The pattern's candles and the one before them (for the trend).
    double value() const {
        RecentCandles recent;
        history_.recent(Pattern::candles + 1, recent);
        return double(Pattern::detect(recent, is_));
    }

    Thresholds is_;
    CandleHistory history_;
    WarmUp warm_up_;
};

template <class Pattern>
PatternKernel<Pattern> pattern_kernel(const double* params, const UnstablePeriods&) {
    return PatternKernel<Pattern>(CandleSettings::from(params));
}

}  // namespace movlex
