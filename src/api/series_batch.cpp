#include "api/series_batch.hpp"

#include <algorithm>
#include <memory>
#include <new>

#include "api/indicator_table.hpp"
#include "api/parallel.hpp"
#include "api/stream.hpp"

namespace movlex {

namespace {

// Series handed to a thread at a time.
constexpr std::int32_t SERIES_PER_ITEM = 8;

bool arrays_present(const void* const* arrays, int count) {
    if (arrays == nullptr) return false;
    for (int k = 0; k < count; ++k)
        if (arrays[k] == nullptr) return false;
    return true;
}

RetCode check_batch(const IndicatorInfo& indicator, const SeriesBatch& batch) {
    if (batch.series < 0 || batch.bars < 0 || batch.threads < 0 || !lane_target_available(batch.lanes))
        return RC_BAD_ARGUMENT;
    if (!arrays_present(reinterpret_cast<const void* const*>(batch.inputs), indicator.input_count()) ||
        !arrays_present(reinterpret_cast<const void* const*>(batch.outputs), indicator.output_count()))
        return RC_BAD_ARGUMENT;
    // Series may not overlap; one series needs no stride.
    if (batch.series > 1 && (batch.input_stride < batch.bars || batch.output_stride < batch.bars))
        return RC_BAD_ARGUMENT;
    return RC_OK;
}

// Series first .. first + count - 1 through the batch entry, one at a time,
// each writing its values from index `begin` of its blocks on.
void run_entries(const IndicatorInfo& indicator, const std::array<double, MAX_PARAMS>& params,
                 const SeriesBatch& batch, Index begin, std::int32_t first, std::int32_t count) {
    Request request;
    request.last_index = batch.bars - 1;
    request.params = params;
    std::int32_t out_begin = 0, out_count = 0;
    request.out_begin = &out_begin;
    request.out_count = &out_count;
    for (std::int32_t s = first; s < first + count; ++s) {
        for (int k = 0; k < indicator.input_count(); ++k) request.inputs[k] = batch.inputs[k] + s * batch.input_stride;
        for (int k = 0; k < indicator.output_count(); ++k)
            request.outputs[k] = batch.outputs[k] + s * batch.output_stride + begin;
        if (indicator.invoke(request) == RC_NO_MEMORY) throw std::bad_alloc();
    }
}

}  // namespace

RetCode run_series_batch(const IndicatorInfo& indicator, const double* params, int param_count,
                         const SeriesBatch& batch, std::int32_t* out_begin, std::int32_t* out_count) {
    if (out_begin == nullptr || out_count == nullptr) return RC_BAD_ARGUMENT;
    RetCode rc = check_batch(indicator, batch);
    if (rc != RC_OK) return rc;
    try {
        std::unique_ptr<Stream> prototype;
        rc = make_stream(indicator, params, param_count, prototype);
        if (rc != RC_OK) return rc;
        const Index begin = prototype->lookback();
        if (batch.series == 0 || begin >= batch.bars) return no_output(out_begin, out_count);

        const SeriesLayout layout{batch.inputs, std::ptrdiff_t(batch.input_stride), batch.outputs,
                                  std::ptrdiff_t(batch.output_stride), Index(batch.bars)};
        const std::int32_t items = (batch.series + SERIES_PER_ITEM - 1) / SERIES_PER_ITEM;
        auto run_item = [&](std::size_t item) {
            const std::int32_t first = std::int32_t(item) * SERIES_PER_ITEM;
            const std::int32_t count = std::min(SERIES_PER_ITEM, batch.series - first);
            if (prototype->interleaves())
                prototype->run_series(layout, std::size_t(first), std::size_t(count), batch.lanes);
            else
                run_entries(indicator, prototype->setup().params, batch, begin, first, count);
        };
        parallel_for(std::size_t(items), unsigned(batch.threads), run_item);
        return report_output(out_begin, out_count, begin, batch.bars - 1);
    } catch (const std::bad_alloc&) {
        return RC_NO_MEMORY;
    }
}

}  // namespace movlex
