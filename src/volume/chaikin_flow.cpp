#include "volume/chaikin_flow.hpp"

namespace movlex {

CmfKernel cmf_kernel(const double* params, const UnstablePeriods&) { return CmfKernel(std::int32_t(params[0])); }

}  // namespace movlex
