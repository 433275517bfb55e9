// The C interface of stream sets (movlex_stream.h) over the C++ sets.
#include <memory>
#include <new>

#include "api/indicator_table.hpp"
#include "api/stream.hpp"
#include "movlex_stream.h"

using namespace movlex;

struct MovlexStreamSet {
    std::unique_ptr<StreamSet> set;
    int inputs;
    int outputs;
};

namespace {

bool arrays_present(const void* const* arrays, int count) {
    if (arrays == nullptr) return false;
    for (int k = 0; k < count; ++k)
        if (arrays[k] == nullptr) return false;
    return true;
}

}  // namespace

#define EXTENDED extern "C" MOVLEX_EXTENDED_API

EXTENDED RetCode movlex_stream_set_create(int32_t number, const double* params, int32_t param_count,
                                          int32_t symbols, MovlexStreamSet** set) {
    const auto table = indicator_table();
    if (number < 0 || std::size_t(number) >= table.size()) return RC_UNKNOWN_INDICATOR;
    if (set == nullptr || symbols < 0) return RC_BAD_ARGUMENT;
    const IndicatorInfo& info = table[std::size_t(number)];
    try {
        std::unique_ptr<Stream> prototype;
        const RetCode rc = make_stream(info, params, param_count, prototype);
        if (rc != RC_OK) return rc;
        auto* handle = new MovlexStreamSet{prototype->make_set(std::size_t(symbols)), info.input_count(),
                                           info.output_count()};
        *set = handle;
        return RC_OK;
    } catch (const std::bad_alloc&) {
        return RC_NO_MEMORY;
    }
}

EXTENDED RetCode movlex_stream_set_update(MovlexStreamSet* set, const double* const* inputs, double* const* outputs,
                                          int32_t* has_value) {
    if (set == nullptr || has_value == nullptr ||
        !arrays_present(reinterpret_cast<const void* const*>(inputs), set->inputs) ||
        !arrays_present(reinterpret_cast<const void* const*>(outputs), set->outputs))
        return RC_BAD_ARGUMENT;
    *has_value = set->set->update(inputs, outputs) ? 1 : 0;
    return RC_OK;
}

EXTENDED RetCode movlex_stream_set_symbols(const MovlexStreamSet* set, int32_t* symbols) {
    if (set == nullptr || symbols == nullptr) return RC_BAD_ARGUMENT;
    *symbols = int32_t(set->set->symbols());
    return RC_OK;
}

EXTENDED RetCode movlex_stream_set_bars(const MovlexStreamSet* set, int64_t* bars) {
    if (set == nullptr || bars == nullptr) return RC_BAD_ARGUMENT;
    *bars = set->set->bars();
    return RC_OK;
}

EXTENDED void movlex_stream_set_destroy(MovlexStreamSet* set) { delete set; }
