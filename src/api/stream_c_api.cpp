// The C interface of streams (movlex_stream.h) over the C++ streams.
#include <new>

#include "api/indicator_table.hpp"
#include "api/stream.hpp"
#include "movlex_stream.h"

using namespace movlex;

struct MovlexStream {
    std::unique_ptr<Stream> stream;
};

namespace {

const IndicatorInfo* indicator_at(std::int32_t number) {
    const auto table = indicator_table();
    if (number < 0 || std::size_t(number) >= table.size()) return nullptr;
    return &table[std::size_t(number)];
}

RetCode hand_over(std::unique_ptr<Stream> made, MovlexStream** out) {
    auto* handle = new (std::nothrow) MovlexStream{std::move(made)};
    if (handle == nullptr) return RC_NO_MEMORY;
    *out = handle;
    return RC_OK;
}

// Runs a step that may throw std::bad_alloc (a stream's rings and state
// buffers come from the heap) and reports it as RC_NO_MEMORY.
template <class Step>
RetCode guarded(Step step) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        return RC_NO_MEMORY;
    }
}

}  // namespace

#define EXTENDED extern "C" MOVLEX_EXTENDED_API

EXTENDED int32_t movlex_indicator_count(void) { return int32_t(indicator_table().size()); }

EXTENDED int32_t movlex_indicator_find(const char* name) {
    if (name == nullptr) return -1;
    const IndicatorInfo* info = find_indicator(name);
    return info == nullptr ? -1 : int32_t(info - indicator_table().data());
}

EXTENDED const char* movlex_indicator_name(int32_t number) {
    const IndicatorInfo* info = indicator_at(number);
    return info == nullptr ? nullptr : info->name;
}

EXTENDED int32_t movlex_indicator_input_count(int32_t number) {
    const IndicatorInfo* info = indicator_at(number);
    return info == nullptr ? -1 : info->input_count();
}

EXTENDED int32_t movlex_indicator_param_count(int32_t number) {
    const IndicatorInfo* info = indicator_at(number);
    return info == nullptr ? -1 : info->param_count();
}

EXTENDED int32_t movlex_indicator_output_count(int32_t number) {
    const IndicatorInfo* info = indicator_at(number);
    return info == nullptr ? -1 : info->output_count();
}

EXTENDED RetCode movlex_stream_create(int32_t number, const double* params, int32_t param_count,
                                      MovlexStream** stream) {
    const IndicatorInfo* info = indicator_at(number);
    if (info == nullptr) return RC_UNKNOWN_INDICATOR;
    if (stream == nullptr) return RC_BAD_ARGUMENT;
    return guarded([&] {
        std::unique_ptr<Stream> made;
        const RetCode rc = make_stream(*info, params, param_count, made);
        return rc == RC_OK ? hand_over(std::move(made), stream) : rc;
    });
}

EXTENDED RetCode movlex_stream_update(MovlexStream* stream, const double* inputs, double* outputs,
                                      int32_t* has_value) {
    if (stream == nullptr || inputs == nullptr || outputs == nullptr || has_value == nullptr) return RC_BAD_ARGUMENT;
    *has_value = stream->stream->update(inputs, outputs) ? 1 : 0;
    return RC_OK;
}

EXTENDED RetCode movlex_stream_bars(const MovlexStream* stream, int64_t* bars) {
    if (stream == nullptr || bars == nullptr) return RC_BAD_ARGUMENT;
    *bars = stream->stream->bars();
    return RC_OK;
}

EXTENDED RetCode movlex_stream_indicator(const MovlexStream* stream, int32_t* number) {
    if (stream == nullptr || number == nullptr) return RC_BAD_ARGUMENT;
    *number = int32_t(&stream->stream->indicator() - indicator_table().data());
    return RC_OK;
}

EXTENDED RetCode movlex_stream_copy(const MovlexStream* stream, MovlexStream** copy) {
    if (stream == nullptr || copy == nullptr) return RC_BAD_ARGUMENT;
    return guarded([&] { return hand_over(stream->stream->clone(), copy); });
}

EXTENDED RetCode movlex_stream_save(const MovlexStream* stream, void* buffer, size_t capacity, size_t* size) {
    if (stream == nullptr || size == nullptr) return RC_BAD_ARGUMENT;
    return guarded([&] {
        const std::vector<std::uint8_t> bytes = stream->stream->save();
        if (capacity < bytes.size() || buffer == nullptr) {
            *size = bytes.size();
            return RetCode(RC_BUFFER_TOO_SMALL);
        }
        std::memcpy(buffer, bytes.data(), bytes.size());
        *size = bytes.size();
        return RetCode(RC_OK);
    });
}

EXTENDED RetCode movlex_stream_from_state(const void* buffer, size_t size, MovlexStream** stream) {
    if (buffer == nullptr || stream == nullptr) return RC_BAD_ARGUMENT;
    return guarded([&] {
        std::unique_ptr<Stream> made;
        const RetCode rc =
            stream_from_state(std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(buffer), size), made);
        return rc == RC_OK ? hand_over(std::move(made), stream) : rc;
    });
}

EXTENDED RetCode movlex_stream_restore(MovlexStream* stream, const void* buffer, size_t size) {
    if (stream == nullptr || buffer == nullptr) return RC_BAD_ARGUMENT;
    return guarded([&] {
        return stream->stream->restore(
            std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(buffer), size));
    });
}

EXTENDED void movlex_stream_destroy(MovlexStream* stream) { delete stream; }
