#include "oscillators/smoothed_momentum.hpp"

namespace movlex {

KstKernel::KstKernel(const std::array<std::int32_t, 4>& roc_periods, const std::array<std::int32_t, 4>& sma_periods)
    : components_{SmoothedChange{RocKernel(roc_periods[0]), AverageStage(SmaKernel(sma_periods[0]))},
                  SmoothedChange{RocKernel(roc_periods[1]), AverageStage(SmaKernel(sma_periods[1]))},
                  SmoothedChange{RocKernel(roc_periods[2]), AverageStage(SmaKernel(sma_periods[2]))},
                  SmoothedChange{RocKernel(roc_periods[3]), AverageStage(SmaKernel(sma_periods[3]))}},
      signal_(SmaKernel(KST_SIGNAL_PERIOD)) {}

Index KstKernel::history() const {
    Index longest = 1;
    for (const auto& component : components_) longest = std::max(longest, component.change.history());
    return longest;
}

Index KstKernel::line_lookback() const {
    Index latest = 0;
    for (const auto& component : components_) latest = std::max(latest, component.lookback());
    return latest;
}

TrixKernel trix_kernel(const double* params, const UnstablePeriods& unstable) {
    return TrixKernel(std::int32_t(params[0]), unstable);
}

TsiKernel tsi_kernel(const double* params, const UnstablePeriods& unstable) {
    return TsiKernel(std::int32_t(params[0]), std::int32_t(params[1]), unstable);
}

CoppockKernel coppock_kernel(const double* params, const UnstablePeriods&) {
    return CoppockKernel(std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]));
}

// The first three rates share one smoothing period, the fourth has its own.
KstKernel kst_kernel(const double* params, const UnstablePeriods&) {
    const auto sma = std::int32_t(params[4]);
    return KstKernel({std::int32_t(params[0]), std::int32_t(params[1]), std::int32_t(params[2]), std::int32_t(params[3])},
                     {sma, sma, sma, std::int32_t(params[5])});
}

}  // namespace movlex
