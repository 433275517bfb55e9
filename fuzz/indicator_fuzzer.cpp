// Fuzzes every entry of the indicator table: the entry, the range, each
// parameter (valid, boundary, invalid, sentinel, arbitrary), the array
// contents (prices, NaN, infinities, denormals, huge and tiny values, ties,
// high below low) and the aliasing the indicator permits. Arrays are sized
// exactly as the calling contract requires, so AddressSanitizer reports any
// access outside them. Checks the contract's promises about result codes and
// out-parameters.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "api/indicator_table.hpp"
#include "movlex.h"

namespace {

using namespace movlex;

constexpr double UNTOUCHED = -12345.0625;
constexpr std::int32_t UNTOUCHED_INT = -424242;

[[noreturn]] void fail(const IndicatorInfo& info, const char* what, long long value) {
    std::fprintf(stderr, "%s: %s (%lld)\n", info.name, what, value);
    std::abort();
}

std::int32_t fuzz_range_bound(FuzzedDataProvider& data) {
    switch (data.ConsumeIntegralInRange(0, 9)) {
        case 0: return -data.ConsumeIntegralInRange<std::int32_t>(1, 5);
        case 1: return std::numeric_limits<std::int32_t>::min();
        default: return data.ConsumeIntegralInRange<std::int32_t>(0, 300);
    }
}

double fuzz_param(FuzzedDataProvider& data, const ParamInfo& param) {
    const bool real = param.kind == ParamKind::real;
    switch (data.ConsumeIntegralInRange(0, 7)) {
        case 0: return real ? DEFAULT_REAL : double(DEFAULT_INT);
        case 1: return param.min;
        case 2: return param.max;
        case 3: return real ? std::nextafter(param.min, -INFINITY) : param.min - 1;
        case 4: return real ? std::nextafter(param.max, INFINITY) : param.max + 1;
        case 5:
            if (real) return data.ConsumeFloatingPoint<double>();
            return double(data.ConsumeIntegral<std::int32_t>());
        default:
            if (real) return data.ConsumeFloatingPointInRange(param.min, param.max);
            // Mostly short periods, so that ranges of a few hundred bars give output.
            return double(data.ConsumeIntegralInRange<std::int32_t>(std::int32_t(param.min),
                                                                    std::int32_t(std::min(param.max, param.min + 40))));
    }
}

double fuzz_value(FuzzedDataProvider& data, double& walk, double previous) {
    switch (data.ConsumeIntegralInRange(0, 15)) {
        case 0: return std::numeric_limits<double>::quiet_NaN();
        case 1: return INFINITY;
        case 2: return -INFINITY;
        case 3: return std::numeric_limits<double>::denorm_min() * data.ConsumeIntegralInRange(1, 1000);
        case 4: return data.ConsumeBool() ? 1e308 : -1e308;
        case 5: return data.ConsumeBool() ? 1e-308 : 0.0;
        case 6: return previous;  // ties
        case 7: return data.ConsumeFloatingPoint<double>();
        default:
            walk += data.ConsumeFloatingPointInRange(-2.0, 2.0);
            return walk;
    }
}

bool allowed_code(const IndicatorInfo& info, RetCode rc) {
    switch (rc) {
        case RC_OK:
        case RC_BAD_ARGUMENT:
        case RC_NO_MEMORY:
        case RC_START_OUT_OF_RANGE:
        case RC_END_OUT_OF_RANGE: return true;
        case RC_INTERNAL_ERROR: return std::strcmp(info.name, "macd") == 0 || std::strcmp(info.name, "mac2") == 0;
        default: return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    FuzzedDataProvider data(bytes, size);
    const auto table = indicator_table();
    const IndicatorInfo& info = table[data.ConsumeIntegralInRange<std::size_t>(0, table.size() - 1)];
    if (data.ConsumeBool())
        MOVLEX_INIT();
    else
        MOVLEX_SHUTDOWN();

    Request request;
    request.first_index = fuzz_range_bound(data);
    request.last_index = data.ConsumeBool() ? request.first_index + data.ConsumeIntegralInRange(0, 300)
                                            : fuzz_range_bound(data);
    for (int p = 0; p < info.param_count(); ++p) request.params[p] = fuzz_param(data, info.params[p]);

    const bool valid_range = request.first_index >= 0 && request.last_index >= request.first_index;
    const std::size_t input_length = request.last_index >= 0 ? std::size_t(request.last_index) + 1 : 1;
    const std::size_t output_length = valid_range ? std::size_t(request.last_index - request.first_index) + 1 : 1;

    std::vector<std::vector<double>> inputs(std::size_t(info.input_count()));
    for (std::vector<double>& input : inputs) {
        double walk = data.ConsumeFloatingPointInRange(1.0, 1000.0);
        input.resize(input_length);
        for (std::size_t i = 0; i < input_length; ++i) input[i] = fuzz_value(data, walk, i > 0 ? input[i - 1] : walk);
    }
    std::vector<std::vector<double>> outputs(std::size_t(info.output_count()),
                                             std::vector<double>(output_length, UNTOUCHED));
    for (int i = 0; i < info.input_count(); ++i) request.inputs[i] = inputs[std::size_t(i)].data();
    for (int o = 0; o < info.output_count(); ++o) request.outputs[o] = outputs[std::size_t(o)].data();

    int aliased_output = -1;
    if (info.aliasing == Aliasing::output_may_be_input && data.ConsumeBool()) {
        aliased_output = data.ConsumeIntegralInRange(0, info.output_count() - 1);
        request.outputs[aliased_output] = inputs[data.ConsumeIntegralInRange<std::size_t>(0, inputs.size() - 1)].data();
    }
    if (data.ConsumeIntegralInRange(0, 15) == 0) {
        const int slot = data.ConsumeIntegralInRange(0, info.input_count() + info.output_count() - 1);
        if (slot < info.input_count())
            request.inputs[slot] = nullptr;
        else
            request.outputs[slot - info.input_count()] = nullptr;
    }

    std::int32_t begin = UNTOUCHED_INT, count = UNTOUCHED_INT;
    request.out_begin = &begin;
    request.out_count = &count;
    const RetCode rc = info.invoke(request);

    if (!allowed_code(info, rc)) fail(info, "unexpected result code", rc);
    if (rc == RC_START_OUT_OF_RANGE || rc == RC_END_OUT_OF_RANGE || rc == RC_BAD_ARGUMENT) {
        if (begin != UNTOUCHED_INT || count != UNTOUCHED_INT) fail(info, "rejected call wrote out_begin", begin);
        for (int o = 0; o < info.output_count(); ++o)
            if (o != aliased_output && request.outputs[o] != nullptr)
                for (double value : outputs[std::size_t(o)])
                    if (std::memcmp(&value, &UNTOUCHED, sizeof value) != 0) fail(info, "rejected call wrote output", o);
    }
    if (rc == RC_START_OUT_OF_RANGE && request.first_index >= 0) fail(info, "start code for a valid start", 0);
    if (rc == RC_END_OUT_OF_RANGE && request.first_index >= 0 && valid_range) fail(info, "end code for a valid end", 0);
    if (rc == RC_OK) {
        if (!valid_range) fail(info, "success on an invalid range", request.first_index);
        if (count != 0 && (begin < request.first_index || count != request.last_index - begin + 1))
            fail(info, "out_begin/out_count inconsistent with the range", count);
        if (count == 0 && begin != 0) fail(info, "empty result with non-zero out_begin", begin);
    }
    return 0;
}
