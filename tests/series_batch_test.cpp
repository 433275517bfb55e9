// Batches over many series (movlex_batch.h) against the batch entries, for
// every indicator of the table: each series' output block holds, bit for bit,
// what the entry gives for that series over 0 .. bars - 1, from the entry's
// out_begin on, and nothing before it is touched. Random parameters, series
// counts that leave a partial group of interleaved lanes, gaps between series,
// one and several threads, both library states, and every instruction set
// the machine runs lane kernels on (the baseline always among them).
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "api/series_batch.hpp"
#include "movlex_batch.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr double UNTOUCHED = -12345.5;

// Defaults, then random values small enough that a few hundred bars reach
// the first output.
std::array<double, MAX_PARAMS> random_params(const IndicatorInfo& info, std::mt19937_64& random, bool defaults) {
    std::array<double, MAX_PARAMS> values{};
    for (int p = 0; p < info.param_count(); ++p) {
        const ParamInfo& param = info.params[p];
        values[p] = param.default_value;
        if (defaults) continue;
        if (param.kind == ParamKind::ma_type) {
            values[p] = double(random() % MA_TYPE_COUNT);
        } else if (param.kind == ParamKind::integer) {
            const std::int64_t low = std::int64_t(param.min);
            const std::int64_t high = std::min<std::int64_t>(std::int64_t(param.max), low + 30);
            values[p] = double(low + std::int64_t(random() % std::uint64_t(high - low + 1)));
        } else {
            const double low = std::max(param.min, -3.0), high = std::min(param.max, 3.0);
            values[p] = low + (high - low) * double(random() % 1000) / 999.0;
        }
    }
    return values;
}

// Series s of input k at inputs[k][s * stride ..]: random-walk bars, every
// third series with NaN and infinities scattered in.
std::vector<std::vector<double>> make_series_inputs(const IndicatorInfo& info, int series, int bars,
                                                    std::int64_t stride, std::uint64_t seed) {
    std::vector<std::vector<double>> inputs(std::size_t(info.input_count()),
                                            std::vector<double>(std::size_t(stride * series), 7.0));
    std::mt19937_64 random(seed);
    for (int s = 0; s < series; ++s) {
        const Bars b = make_bars(std::size_t(bars), seed * 1000 + std::uint64_t(s));
        for (int k = 0; k < info.input_count(); ++k) {
            const std::string name = info.inputs[k];
            const auto& source = name == "open" ? b.open : name == "high" ? b.high : name == "low" ? b.low
                               : name == "volume" ? b.volume : b.close;
            for (int i = 0; i < bars; ++i) {
                double value = source[std::size_t(i)];
                if (s % 3 == 2 && random() % 61 == 0)
                    value = i % 2 ? std::numeric_limits<double>::quiet_NaN() : std::numeric_limits<double>::infinity();
                inputs[std::size_t(k)][std::size_t(s * stride + i)] = value;
            }
        }
    }
    return inputs;
}

struct EntryResult {
    RetCode code;
    std::int32_t begin = 0, count = 0;
    std::vector<std::vector<double>> outputs;
};

EntryResult run_entry(const IndicatorInfo& info, const std::vector<const double*>& inputs, int bars,
                      const std::array<double, MAX_PARAMS>& params) {
    EntryResult result;
    Request request;
    request.last_index = bars - 1;
    for (int k = 0; k < info.input_count(); ++k) request.inputs[k] = inputs[std::size_t(k)];
    request.params = params;
    request.out_begin = &result.begin;
    request.out_count = &result.count;
    result.outputs.assign(std::size_t(info.output_count()), std::vector<double>(std::size_t(bars)));
    for (int k = 0; k < info.output_count(); ++k) request.outputs[k] = result.outputs[std::size_t(k)].data();
    result.code = info.invoke(request);
    return result;
}

bool same_result(double expected, double actual) {
    return same_bits(expected, actual) || (std::isnan(expected) && std::isnan(actual));
}

std::int32_t number_of(const IndicatorInfo& info) { return std::int32_t(&info - indicator_table().data()); }

// Every instruction set this machine runs lane kernels on, the baseline first.
std::vector<LaneTarget> available_lane_targets() {
    std::vector<LaneTarget> targets;
    for (LaneTarget target : {LaneTarget::baseline, LaneTarget::avx2, LaneTarget::avx512})
        if (lane_target_available(target)) targets.push_back(target);
    return targets;
}

struct Shape {
    int series, bars;
    std::int64_t input_gap, output_gap;
    int threads;
};

class SeriesBatchAgainstEntry : public ::testing::TestWithParam<bool> {};

TEST_P(SeriesBatchAgainstEntry, EveryIndicatorEverySeries) {
    const LibraryStateGuard state(GetParam());
    const Shape shapes[] = {{11, 320, 0, 0, 2}, {21, 260, 3, 5, 1}, {1, 200, 0, 0, 0}};
    std::mt19937_64 random(5);
    for (const IndicatorInfo& info : indicator_table()) {
        for (int shape_index = 0; shape_index < 3; ++shape_index) {
            const Shape shape = shapes[shape_index];
            const auto params = random_params(info, random, shape_index == 2);
            SCOPED_TRACE(std::string(info.name) + " shape " + std::to_string(shape_index));
            const std::int64_t in_stride = shape.bars + shape.input_gap, out_stride = shape.bars + shape.output_gap;
            const auto inputs = make_series_inputs(info, shape.series, shape.bars, in_stride, random());
            std::vector<std::vector<double>> outputs(std::size_t(info.output_count()),
                                                     std::vector<double>(std::size_t(out_stride * shape.series), UNTOUCHED));
            std::vector<const double*> input_arrays;
            for (const auto& input : inputs) input_arrays.push_back(input.data());
            std::vector<double*> output_arrays;
            for (auto& output : outputs) output_arrays.push_back(output.data());

            for (LaneTarget target : available_lane_targets()) {
            SCOPED_TRACE("lane target " + std::to_string(int(target)));
            for (auto& output : outputs) std::fill(output.begin(), output.end(), UNTOUCHED);
            std::int32_t begin = -1, count = -1;
            if (target == best_lane_target()) {
                ASSERT_EQ(movlex_batch(number_of(info), params.data(), info.param_count(), shape.series, shape.bars,
                                       input_arrays.data(), in_stride, output_arrays.data(), out_stride,
                                       shape.threads, &begin, &count),
                          RC_OK);
            } else {
                SeriesBatch batch;
                batch.series = shape.series;
                batch.bars = shape.bars;
                batch.inputs = input_arrays.data();
                batch.input_stride = in_stride;
                batch.outputs = output_arrays.data();
                batch.output_stride = out_stride;
                batch.threads = shape.threads;
                batch.lanes = target;
                ASSERT_EQ(run_series_batch(info, params.data(), info.param_count(), batch, &begin, &count), RC_OK);
            }
            for (int s = 0; s < shape.series; ++s) {
                std::vector<const double*> series_inputs;
                for (const auto& input : inputs) series_inputs.push_back(input.data() + s * in_stride);
                const EntryResult entry = run_entry(info, series_inputs, shape.bars, params);
                ASSERT_EQ(entry.code, RC_OK);
                ASSERT_EQ(begin, entry.begin);
                ASSERT_EQ(count, entry.count);
                for (int k = 0; k < info.output_count(); ++k) {
                    const double* block = outputs[std::size_t(k)].data() + s * out_stride;
                    for (std::int64_t i = 0; i < out_stride; ++i) {
                        const bool has_value = i >= begin && i < begin + count;
                        const double expected = has_value ? entry.outputs[std::size_t(k)][std::size_t(i - begin)] : UNTOUCHED;
                        ASSERT_TRUE(same_result(expected, block[i]))
                            << "series " << s << " output " << k << " bar " << i << ": " << expected << " vs " << block[i];
                    }
                }
            }
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(States, SeriesBatchAgainstEntry, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "initialised" : "loaded"; });

// Bad arguments are refused in the documented order and nothing is written.
TEST(SeriesBatch, RefusesBadArguments) {
    const std::int32_t rsi = movlex_indicator_find("rsi");
    const std::int32_t adx = movlex_indicator_find("adx");
    double input[40] = {}, output[40], period = 5, bad_period = 1;
    const double* inputs[1] = {input};
    const double* missing_input[1] = {nullptr};
    double* outputs[1] = {output};
    std::int32_t begin = 0, count = 0;
    struct Case {
        const char* what;
        std::int32_t number;
        const double* params;
        std::int32_t series, bars;
        const double* const* inputs;
        std::int64_t input_stride;
        double* const* outputs;
        std::int64_t output_stride;
        std::int32_t threads;
        std::int32_t* begin;
        RetCode expected;
    };
    const Case cases[] = {
        {"unknown indicator", -1, &period, 2, 20, inputs, 20, outputs, 20, 1, &begin, RC_UNKNOWN_INDICATOR},
        {"unknown indicator", 9999, &period, 2, 20, inputs, 20, outputs, 20, 1, &begin, RC_UNKNOWN_INDICATOR},
        {"null out_begin", rsi, &period, 2, 20, inputs, 20, outputs, 20, 1, nullptr, RC_BAD_ARGUMENT},
        {"negative series", rsi, &period, -1, 20, inputs, 20, outputs, 20, 1, &begin, RC_BAD_ARGUMENT},
        {"negative bars", rsi, &period, 2, -1, inputs, 20, outputs, 20, 1, &begin, RC_BAD_ARGUMENT},
        {"negative threads", rsi, &period, 2, 20, inputs, 20, outputs, 20, -1, &begin, RC_BAD_ARGUMENT},
        {"null inputs", rsi, &period, 2, 20, nullptr, 20, outputs, 20, 1, &begin, RC_BAD_ARGUMENT},
        {"null input array", rsi, &period, 2, 20, missing_input, 20, outputs, 20, 1, &begin, RC_BAD_ARGUMENT},
        {"missing inputs of adx", adx, &period, 1, 20, inputs, 20, outputs, 20, 1, &begin, RC_BAD_ARGUMENT},
        {"null outputs", rsi, &period, 2, 20, inputs, 20, nullptr, 20, 1, &begin, RC_BAD_ARGUMENT},
        {"overlapping inputs", rsi, &period, 2, 20, inputs, 19, outputs, 20, 1, &begin, RC_BAD_ARGUMENT},
        {"overlapping outputs", rsi, &period, 2, 20, inputs, 20, outputs, 19, 1, &begin, RC_BAD_ARGUMENT},
        {"period out of range", rsi, &bad_period, 2, 20, inputs, 20, outputs, 20, 1, &begin, RC_BAD_ARGUMENT},
    };
    for (const Case& c : cases) {
        std::fill(std::begin(output), std::end(output), UNTOUCHED);
        begin = count = 77;
        // adx's second and third inputs are read from past the one given:
        // check_batch must refuse it before reading them.
        const double* adx_inputs[3] = {input, nullptr, nullptr};
        const double* const* used_inputs = c.number == adx ? adx_inputs : c.inputs;
        EXPECT_EQ(movlex_batch(c.number, c.params, 1, c.series, c.bars, used_inputs, c.input_stride, c.outputs,
                               c.output_stride, c.threads, c.begin, &count),
                  c.expected)
            << c.what;
        EXPECT_EQ(count, 77) << c.what;
        for (double value : output) EXPECT_TRUE(same_bits(value, UNTOUCHED)) << c.what;
    }
}

// Nothing to compute is not an error: no value, nothing written.
TEST(SeriesBatch, ReportsNoOutputWhenThereIsNothingToCompute) {
    const std::int32_t rsi = movlex_indicator_find("rsi");
    double input[40] = {}, output[40];
    std::fill(std::begin(output), std::end(output), UNTOUCHED);
    const double* inputs[1] = {input};
    double* outputs[1] = {output};
    const double period = 14;
    for (std::int32_t series : {0, 2}) {
        std::int32_t begin = 77, count = 77;
        ASSERT_EQ(movlex_batch(rsi, &period, 1, series, 14, inputs, 20, outputs, 20, 0, &begin, &count), RC_OK);
        EXPECT_EQ(begin, 0);
        EXPECT_EQ(count, 0);
    }
    for (double value : output) EXPECT_TRUE(same_bits(value, UNTOUCHED));
}

}  // namespace
}  // namespace movlex::test
