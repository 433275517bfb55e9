// One indicator with one set of parameters over many series of the same
// length (include/movlex_batch.h): the indicator's kernel runs over groups of
// interleaved series, the groups spread over the library's threads.
#pragma once

#include <cstdint>

#include "frame/series_engine.hpp"
#include "movlex.h"

namespace movlex {

struct IndicatorInfo;

struct SeriesBatch {
    std::int32_t series = 0;
    std::int32_t bars = 0;
    const double* const* inputs = nullptr;  // one per input of the indicator
    std::int64_t input_stride = 0;
    double* const* outputs = nullptr;  // one per output of the indicator
    std::int64_t output_stride = 0;
    std::int32_t threads = 0;  // 0: one per hardware thread
    LaneTarget lanes = best_lane_target();  // where a lane kernel runs
};

// Checks the batch and the parameters (param_count values in table order,
// defaults filled in as for a stream), runs it, and reports where the values
// of every output block start and how many there are, as the batch entry
// called over 0 .. bars - 1 would. The unstable periods are those in force.
RetCode run_series_batch(const IndicatorInfo& indicator, const double* params, int param_count,
                         const SeriesBatch& batch, std::int32_t* out_begin, std::int32_t* out_count);

}  // namespace movlex
