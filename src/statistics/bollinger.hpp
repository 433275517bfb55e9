// Bollinger bands.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>

#include "averages/selector.hpp"
#include "frame/entry_form.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"
#include "statistics/variance.hpp"

namespace movlex {

inline constexpr std::array BBANDS_PARAMS{integer_param("period", 5, 2), real_param("deviations_up", 2.0),
                                          real_param("deviations_down", 2.0), ma_type_param("ma_type")};

// The middle band is the selected average, the bands lie a multiple of the
// population standard deviation over `period` above and below it. Both
// begin on the same bar: whichever needs fewer bars starts later (the
// average by average_delay bars, the deviation by the rest). With a simple
// average the middle band is the mean the variance already has, the same
// bits, and `average` (then of period 1) is not fed. Average is
// AverageStage<K> or AnyMaKernel made with Feed::bars; outputs upper, middle,
// lower.
template <class Average>
class BandsKernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 3;

    BandsKernel(const Average& average, bool simple_average, std::int32_t period, double deviations_up,
                double deviations_down, Index average_delay)
        : average_(average),
          variance_(period),
          simple_average_(simple_average),
          up_(deviations_up),
          down_(deviations_down),
          lookback_(simple_average ? variance_.lookback() : std::max(average.lookback(), variance_.lookback())),
          average_delay_(average_delay),
          variance_delay_(lookback_ - variance_.lookback()) {}

    Index history() const { return std::max(average_.history(), variance_.history()); }
    Index lookback() const { return lookback_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        double middle = 0.0, mean, variance;
        if (!simple_average_ && !average_delay_.consume()) average_.step(bars, i, &middle);
        if (variance_delay_.consume() || !variance_.step(bars, i, variance, mean)) return false;
        // The average is ready no later than the deviation.
        write(simple_average_ ? mean : middle, standard_deviation(variance), out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        double mean, middle;
        const double variance = variance_.next(bars, i, mean);
        if (simple_average_)
            middle = mean;
        else
            average_.steady(bars, i, &middle);
        write(middle, standard_deviation(variance), out);
    }

    // The steady steps of a block: the variance's sums and the average
    // carried bar by bar, the roots and the bands in lanes.
    template <class Bars>
    Index steady_block(const Bars& bars, Index i, Index available, double* const* out) {
        const Index n = std::min(available, BAR_BLOCK);
        double variance[BAR_BLOCK], mean[BAR_BLOCK];
        double* middle = simple_average_ ? mean : out[1];
        variance_.next_block(bars, i, n, variance, mean);
        if (!simple_average_)
            for (Index j = 0; j < n; ++j) average_.steady(bars, i + j, middle + j);
        over_pairs(n, [&]<class V>(Index j) {
            write(load_lanes<V>(middle + j), standard_deviation(load_lanes<V>(variance + j)), out, j);
        });
        return n;
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(average_);
        archive(variance_);
        archive(average_delay_);
        archive(variance_delay_);
    }

private:
    void write(double middle, double deviation, double* out) const {
        out[0] = middle + deviation * up_;
        out[1] = middle;
        out[2] = middle - deviation * down_;
    }
    template <class V>
    void write(V middle, V deviation, double* const* out, Index j) const {
        store_lanes(out[0] + j, middle + deviation * up_);
        store_lanes(out[1] + j, middle);
        store_lanes(out[2] + j, middle - deviation * down_);
    }

    Average average_;
    VarianceKernel variance_;
    bool simple_average_;
    double up_, down_;
    Index lookback_;
    WarmUp average_delay_, variance_delay_;
};

BandsKernel<AnyMaKernel> bbands_kernel(const double* params, const UnstablePeriods& unstable);

// The entry refuses the input array passed as more than one output
// (RC_BAD_ARGUMENT) and runs the kernel compiled for the chosen average kind.
RetCode bbands_run(const double* params, const UnstablePeriods& unstable, const EntryRequest<1, 3>& request);
template <>
inline constexpr auto entry_runner<&bbands_kernel> = &bbands_run;

}  // namespace movlex
