// The WebAssembly module's own entries, beside the core entries (MOVLEX_INIT,
// MOVLEX_SHUTDOWN) and the stream C API (movlex_stream_*), which it exports
// as they are. JavaScript reads the indicator table as JSON and computes any
// row over whole series through one call.
#include <emscripten/emscripten.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "api/indicator_table.hpp"
#include "api/ma_type_names.hpp"
#include "movlex.h"
#include "movlex_stream.h"

namespace movlex::wasm {
namespace {

std::string quoted(const char* text) {
    std::string out = "\"";
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == '"' || *c == '\\') out += '\\';
        out += *c;
    }
    return out + "\"";
}

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

template <class Names>
std::string name_list(const Names& names, int count) {
    std::string out = "[";
    for (int k = 0; k < count; ++k) out += (k ? "," : "") + quoted(names[k]);
    return out + "]";
}

const char* placement_name(Placement placement) {
    switch (placement) {
        case Placement::overlay: return "overlay";
        case Placement::panel: return "panel";
        case Placement::markers: return "markers";
    }
    return "panel";
}

// Where each output is drawn, in output order.
std::string placements(const IndicatorInfo& info) {
    std::string out = "[";
    for (int k = 0; k < info.output_count(); ++k) out += (k ? "," : "") + quoted(placement_name(info.placement_of(k)));
    return out + "]";
}

std::string table_json() {
    std::string out = "{\"maxParams\":" + std::to_string(MAX_PARAMS) + ",\"maTypes\":" + name_list(MA_TYPE_NAMES, MA_TYPE_COUNT) + ",\"indicators\":[";
    bool first = true;
    for (const IndicatorInfo& info : indicator_table()) {
        out += first ? "{" : ",{";
        first = false;
        out += "\"name\":" + quoted(info.name) + ",\"entry\":" + quoted(info.entry) +
               ",\"summary\":" + quoted(info.summary) + ",\"inputs\":" + name_list(info.inputs, info.input_count()) +
               ",\"outputs\":" + name_list(info.outputs, info.output_count()) + ",\"placement\":" +
               quoted(placement_name(info.placement)) + ",\"outputPlacements\":" + placements(info) + ",\"set\":" +
               quoted(info.set == IndicatorSet::core ? "core" : "extended") + ",\"params\":[";
        for (int p = 0; p < info.param_count(); ++p) {
            const ParamInfo& param = info.params[p];
            out += (p ? ",{" : "{") + std::string("\"name\":") + quoted(param.name) + ",\"kind\":" +
                   quoted(param_kind_name(param.kind)) + ",\"default\":" + number(param.default_value) +
                   ",\"min\":" + number(param.min) + ",\"max\":" + number(param.max) + "}";
        }
        out += "]}";
    }
    return out + "]}";
}

const IndicatorInfo* row(std::int32_t number) {
    const auto table = indicator_table();
    return number >= 0 && std::size_t(number) < table.size() ? &table[std::size_t(number)] : nullptr;
}

}  // namespace
}  // namespace movlex::wasm

using namespace movlex;

extern "C" {

// The indicator table as JSON (UTF-8, NUL-terminated, kept for the module's life).
EMSCRIPTEN_KEEPALIVE const char* movlex_js_table() {
    static const std::string json = wasm::table_json();
    return json.c_str();
}

// Bars the row consumes before its first value with these parameters (one
// per table parameter), -1 when they are out of range.
EMSCRIPTEN_KEEPALIVE std::int32_t movlex_js_lookback(std::int32_t number, const double* params) {
    const IndicatorInfo* info = wasm::row(number);
    return info == nullptr ? -1 : info->lookback(params);
}

// One call of the row's entry, as C calls it: inputs[i] and outputs[o] point
// at arrays of the module's heap, result[0..1] receive out_begin and
// out_count. The return code is the entry's.
EMSCRIPTEN_KEEPALIVE std::int32_t movlex_js_call(std::int32_t number, std::int32_t first_index, std::int32_t last_index,
                                                 const double* const* inputs, const double* params,
                                                 double* const* outputs, std::int32_t* result) {
    const IndicatorInfo* info = wasm::row(number);
    if (info == nullptr) return RC_BAD_ARGUMENT;
    Request request;
    request.first_index = first_index;
    request.last_index = last_index;
    for (int i = 0; i < info->input_count(); ++i) request.inputs[i] = inputs[i];
    for (int p = 0; p < info->param_count(); ++p) request.params[p] = params[p];
    for (int o = 0; o < info->output_count(); ++o) request.outputs[o] = outputs[o];
    request.out_begin = &result[0];
    request.out_count = &result[1];
    return info->invoke(request);
}

// The row over a whole series of `bars` values, as a C program computes it
// (first_index 0, last_index bars - 1), each output at out + o * bars with
// NaN before its first value. `out` holds output_count * bars + `lookback`
// values: handed out + lookback, the entry may use all of `bars` values,
// reaching into the next output's lead (filled once all are done) and, for
// the last, into the tail. -1 when the entry's first value is not at the
// lookback.
EMSCRIPTEN_KEEPALIVE std::int32_t movlex_js_series(std::int32_t number, std::int32_t bars, const double* inputs,
                                                   const double* params, std::int32_t lookback, double* out) {
    const IndicatorInfo* info = wasm::row(number);
    if (info == nullptr) return RC_BAD_ARGUMENT;
    const std::int32_t lead = std::min(lookback, bars);
    if (lookback < bars) {
        std::array<const double*, MAX_INPUTS> in{};
        std::array<double*, MAX_OUTPUTS> outputs{};
        for (int i = 0; i < info->input_count(); ++i) in[i] = inputs + std::size_t(i) * std::size_t(bars);
        for (int o = 0; o < info->output_count(); ++o) outputs[o] = out + std::size_t(o) * std::size_t(bars) + lookback;
        std::int32_t result[2] = {0, 0};
        const std::int32_t code = movlex_js_call(number, 0, bars - 1, in.data(), params, outputs.data(), result);
        if (code != RC_OK) return code;
        if (result[0] != lookback || result[1] != bars - lookback) return -1;
    }
    for (int o = 0; o < info->output_count(); ++o)
        std::fill_n(out + std::size_t(o) * std::size_t(bars), lead, std::numeric_limits<double>::quiet_NaN());
    return RC_OK;
}

}  // extern "C"

extern "C" {

// Feeds a stream `bars` bars: input i of bar t at inputs[i * bars + t],
// output o at outputs[o * bars + t], NaN while there is no value yet.
EMSCRIPTEN_KEEPALIVE std::int32_t movlex_js_stream_feed(MovlexStream* stream, std::int32_t bars, const double* inputs,
                                                        double* outputs) {
    std::int32_t number = 0;
    if (movlex_stream_indicator(stream, &number) != RC_OK) return RC_BAD_ARGUMENT;
    const IndicatorInfo& info = *wasm::row(number);
    const std::size_t length = std::size_t(bars);
    for (std::size_t t = 0; t < length; ++t) {
        double bar[MAX_INPUTS], values[MAX_OUTPUTS];
        for (int i = 0; i < info.input_count(); ++i) bar[i] = inputs[std::size_t(i) * length + t];
        std::int32_t has_value = 0;
        const RetCode code = movlex_stream_update(stream, bar, values, &has_value);
        if (code != RC_OK) return code;
        for (int o = 0; o < info.output_count(); ++o)
            outputs[std::size_t(o) * length + t] = has_value ? values[o] : std::numeric_limits<double>::quiet_NaN();
    }
    return RC_OK;
}

}  // extern "C"
