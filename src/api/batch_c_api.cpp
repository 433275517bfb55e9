// The C interface of batches over many series (movlex_batch.h).
#include "api/indicator_table.hpp"
#include "api/series_batch.hpp"
#include "movlex_batch.h"

using namespace movlex;

extern "C" MOVLEX_EXTENDED_API RetCode movlex_batch(int32_t number, const double* params, int32_t param_count,
                                                    int32_t series, int32_t bars, const double* const* inputs,
                                                    int64_t input_stride, double* const* outputs,
                                                    int64_t output_stride, int32_t threads, int32_t* out_begin,
                                                    int32_t* out_count) {
    const auto table = indicator_table();
    if (number < 0 || std::size_t(number) >= table.size()) return RC_UNKNOWN_INDICATOR;
    const SeriesBatch batch{series, bars, inputs, input_stride, outputs, output_stride, threads};
    return run_series_batch(table[std::size_t(number)], params, param_count, batch, out_begin, out_count);
}
