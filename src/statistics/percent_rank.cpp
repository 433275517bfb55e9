#include "statistics/percent_rank.hpp"

namespace movlex {

PercentRankKernel percent_rank_kernel(const double* params, const UnstablePeriods&) {
    return PercentRankKernel(std::int32_t(params[0]));
}

}  // namespace movlex
