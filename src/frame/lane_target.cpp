#include "frame/series_engine.hpp"

namespace movlex {

bool lane_target_available(LaneTarget target) {
    switch (target) {
        case LaneTarget::baseline:
            return true;
#if MOVLEX_WIDE_LANES
        case LaneTarget::avx2:
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx2");
        case LaneTarget::avx512:
            __builtin_cpu_init();
            return __builtin_cpu_supports("avx512f");
#endif
        default:
            return false;
    }
}

LaneTarget best_lane_target() {
    for (LaneTarget target : {LaneTarget::avx512, LaneTarget::avx2})
        if (lane_target_available(target)) return target;
    return LaneTarget::baseline;
}

}  // namespace movlex
