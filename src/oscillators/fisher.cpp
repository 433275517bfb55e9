#include "oscillators/fisher.hpp"

namespace movlex {

FisherKernel fisher_kernel(const double* params, const UnstablePeriods&) {
    return FisherKernel(std::int32_t(params[0]));
}

}  // namespace movlex
