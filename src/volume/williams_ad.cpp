#include "volume/williams_ad.hpp"

namespace movlex {

WadKernel wad_kernel(const double*, const UnstablePeriods&) { return WadKernel(); }

}  // namespace movlex
