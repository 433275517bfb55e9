// Streams against the batch entries, for every indicator of the table: after
// bars 0 .. t a stream gives, bit for bit, what the entry gives at index t,
// and no value exactly before the entry's first output. Random parameters
// (defaults, range ends that stay cheap, values between), random series
// (ordinary prices, ties and flat runs, NaN and infinities), both library
// states; copies and saved states go on like the original.
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "api/stream.hpp"
#include "movlex_stream.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

enum class SeriesKind { prices, ties, gaps };

const char* kind_name(SeriesKind kind) {
    switch (kind) {
        case SeriesKind::prices: return "prices";
        case SeriesKind::ties: return "ties";
        default: return "gaps";
    }
}

// One array per input of the indicator: random-walk bars, or bars rounded to
// a coarse tick so that values repeat and runs stay flat, or prices with NaN
// and infinities scattered in.
std::vector<std::vector<double>> make_inputs(const IndicatorInfo& info, std::size_t count, SeriesKind kind,
                                             std::uint64_t seed) {
    Bars bars = make_bars(count, seed);
    std::mt19937_64 random(seed);
    for (auto* series : {&bars.open, &bars.high, &bars.low, &bars.close, &bars.volume}) {
        for (std::size_t i = 0; i < count; ++i) {
            double& value = (*series)[i];
            if (kind == SeriesKind::ties) {
                value = std::round(value / 2.0) * 2.0;
                if (i > 0 && random() % 4 == 0) value = (*series)[i - 1];
            } else if (kind == SeriesKind::gaps && random() % 97 == 0) {
                const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                                           std::numeric_limits<double>::infinity(),
                                           -std::numeric_limits<double>::infinity(), 0.0, -0.0};
                value = specials[random() % 5];
            }
        }
    }
    std::vector<std::vector<double>> inputs;
    for (int k = 0; k < info.input_count(); ++k) {
        const std::string name = info.inputs[k];
        inputs.push_back(name == "open"     ? bars.open
                         : name == "high"   ? bars.high
                         : name == "low"    ? bars.low
                         : name == "volume" ? bars.volume
                                            : bars.close);
    }
    return inputs;
}

// Parameter sets: the defaults, then random values kept small enough that a
// few hundred bars reach the first output.
std::vector<std::array<double, MAX_PARAMS>> parameter_sets(const IndicatorInfo& info, std::uint64_t seed) {
    std::vector<std::array<double, MAX_PARAMS>> sets;
    std::array<double, MAX_PARAMS> defaults{};
    for (int p = 0; p < info.param_count(); ++p) defaults[p] = info.params[p].default_value;
    sets.push_back(defaults);
    std::mt19937_64 random(seed);
    for (int s = 0; s < 4; ++s) {
        std::array<double, MAX_PARAMS> values = defaults;
        for (int p = 0; p < info.param_count(); ++p) {
            const ParamInfo& param = info.params[p];
            switch (param.kind) {
                case ParamKind::ma_type: values[p] = double(random() % MA_TYPE_COUNT); break;
                case ParamKind::integer: {
                    const std::int64_t low = std::int64_t(param.min);
                    const std::int64_t high = std::min<std::int64_t>(std::int64_t(param.max), low + 40);
                    values[p] = double(s == 0 ? low : low + std::int64_t(random() % std::uint64_t(high - low + 1)));
                    break;
                }
                case ParamKind::real: {
                    const double low = std::max(param.min, -3.0);
                    const double high = std::min(param.max, 3.0);
                    values[p] = s == 0 ? low : low + (high - low) * double(random() % 1000) / 999.0;
                    break;
                }
            }
        }
        sets.push_back(values);
    }
    return sets;
}

struct BatchResult {
    RetCode code;
    std::int32_t begin = 0, count = 0;
    std::vector<std::vector<double>> outputs;
};

BatchResult run_batch(const IndicatorInfo& info, const std::vector<std::vector<double>>& inputs,
                      const std::array<double, MAX_PARAMS>& params) {
    BatchResult result;
    const auto size = inputs[0].size();
    Request request;
    request.first_index = 0;
    request.last_index = std::int32_t(size) - 1;
    for (int k = 0; k < info.input_count(); ++k) request.inputs[k] = inputs[k].data();
    request.params = params;
    request.out_begin = &result.begin;
    request.out_count = &result.count;
    result.outputs.assign(std::size_t(info.output_count()), std::vector<double>(size));
    for (int k = 0; k < info.output_count(); ++k) request.outputs[k] = result.outputs[k].data();
    result.code = info.invoke(request);
    return result;
}

std::string describe(const IndicatorInfo& info, const std::array<double, MAX_PARAMS>& params) {
    std::string text = info.name;
    for (int p = 0; p < info.param_count(); ++p) text += " " + std::string(info.params[p].name) + "=" + std::to_string(params[p]);
    return text;
}

// The same bits, or NaN on both sides. Which NaN an operation on two NaNs
// gives depends on the order the compiler puts the operands in, and machines
// differ in the NaN an invalid operation makes: the sign and payload of a NaN
// result are not promised, the NaN is.
bool same_result(double expected, double actual) {
    return same_bits(expected, actual) || (std::isnan(expected) && std::isnan(actual));
}

// Feeds bars [from, to) and checks each against the batch result.
::testing::AssertionResult feed_and_compare(Stream& stream, const std::vector<std::vector<double>>& inputs,
                                            const BatchResult& batch, std::size_t from, std::size_t to) {
    const int outputs = stream.indicator().output_count();
    for (std::size_t t = from; t < to; ++t) {
        double bar[MAX_INPUTS];
        for (std::size_t k = 0; k < inputs.size(); ++k) bar[k] = inputs[k][t];
        double out[MAX_OUTPUTS] = {-1.5, -1.5, -1.5, -1.5, -1.5, -1.5};
        const bool has_value = stream.update(bar, out);
        const bool expected = batch.count > 0 && std::int64_t(t) >= batch.begin;
        if (has_value != expected)
            return ::testing::AssertionFailure() << "bar " << t << ": stream has_value " << has_value
                                                 << ", batch begins at " << batch.begin;
        if (!has_value) continue;
        for (int k = 0; k < outputs; ++k) {
            const double want = batch.outputs[k][t - std::size_t(batch.begin)];
            if (!same_result(want, out[k]))
                return ::testing::AssertionFailure()
                       << "bar " << t << " output " << k << ": batch " << want << ", stream " << out[k];
        }
    }
    return ::testing::AssertionSuccess();
}

class StreamAgainstBatch : public ::testing::TestWithParam<bool> {};

TEST_P(StreamAgainstBatch, EveryBarEveryIndicator) {
    const LibraryStateGuard state(GetParam());
    const std::size_t bars = GetParam() ? 700 : 400;
    for (const IndicatorInfo& info : indicator_table()) {
        std::uint64_t seed = 11;
        for (const auto& params : parameter_sets(info, std::hash<std::string>{}(info.name))) {
            for (SeriesKind kind : {SeriesKind::prices, SeriesKind::ties, SeriesKind::gaps}) {
                SCOPED_TRACE(describe(info, params) + " on " + kind_name(kind));
                const auto inputs = make_inputs(info, bars, kind, ++seed);
                const BatchResult batch = run_batch(info, inputs, params);
                ASSERT_EQ(batch.code, RC_OK);

                std::unique_ptr<Stream> stream;
                ASSERT_EQ(make_stream(info, params.data(), info.param_count(), stream), RC_OK);
                const std::size_t middle = bars / 2;
                ASSERT_TRUE(feed_and_compare(*stream, inputs, batch, 0, middle));

                // A copy and a restored state go on exactly like the original.
                std::unique_ptr<Stream> copy = stream->clone();
                std::unique_ptr<Stream> restored;
                ASSERT_EQ(stream_from_state(stream->save(), restored), RC_OK);
                EXPECT_TRUE(feed_and_compare(*stream, inputs, batch, middle, bars));
                EXPECT_TRUE(feed_and_compare(*copy, inputs, batch, middle, bars));
                EXPECT_TRUE(feed_and_compare(*restored, inputs, batch, middle, bars));
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(States, StreamAgainstBatch, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "initialised" : "loaded"; });

TEST(Stream, EveryIndicatorHasOne) {
    for (const IndicatorInfo& info : indicator_table()) EXPECT_NE(info.stream, nullptr) << info.name;
}

// A stream keeps the unstable periods in force when it was made.
TEST(Stream, KeepsTheUnstablePeriodsItWasMadeWith) {
    const IndicatorInfo& ema = *find_indicator("ema");
    const auto inputs = make_inputs(ema, 400, SeriesKind::prices, 3);
    const double period = 10;
    std::unique_ptr<Stream> stream;
    BatchResult batch;
    {
        const LibraryStateGuard state(true);
        ASSERT_EQ(make_stream(ema, &period, 1, stream), RC_OK);
        std::array<double, MAX_PARAMS> params{period};
        batch = run_batch(ema, inputs, params);
    }
    MOVLEX_SHUTDOWN();  // whatever happens later
    EXPECT_TRUE(feed_and_compare(*stream, inputs, batch, 0, 400));
}

// Parameters are checked as the entries check them.
TEST(Stream, RejectsWhatTheEntryRejects) {
    for (const IndicatorInfo& info : indicator_table()) {
        if (info.param_count() == 0) continue;
        SCOPED_TRACE(info.name);
        const auto inputs = make_inputs(info, 50, SeriesKind::prices, 5);
        for (int p = 0; p < info.param_count(); ++p) {
            std::array<double, MAX_PARAMS> params{};
            for (int q = 0; q < info.param_count(); ++q)
                params[q] = info.params[q].kind == ParamKind::real ? DEFAULT_REAL : double(DEFAULT_INT);
            for (double bad : {info.params[p].min - 1, info.params[p].max + 1}) {
                if (std::abs(bad) > 1e9) continue;
                params[p] = bad;
                const BatchResult batch = run_batch(info, inputs, params);
                std::unique_ptr<Stream> stream;
                EXPECT_EQ(make_stream(info, params.data(), info.param_count(), stream), batch.code)
                    << info.params[p].name << "=" << bad;
                EXPECT_EQ(stream, nullptr);
            }
        }
    }
}

// Saved states: any truncation, any flipped bit, another indicator or
// another format version is refused, and the stream restored into is kept.
TEST(StreamState, MalformedBuffersAreRefused) {
    const IndicatorInfo& sma = *find_indicator("sma");
    const double period = 5;
    std::unique_ptr<Stream> stream;
    ASSERT_EQ(make_stream(sma, &period, 1, stream), RC_OK);
    const auto inputs = make_inputs(sma, 20, SeriesKind::prices, 9);
    double out[1];
    for (double value : inputs[0]) stream->update(&value, out);
    const std::vector<std::uint8_t> good = stream->save();

    std::unique_ptr<Stream> restored;
    for (std::size_t length = 0; length < good.size(); ++length)
        EXPECT_EQ(stream_from_state(std::span(good).first(length), restored), RC_STATE_CORRUPT) << length;
    for (std::size_t bit = 0; bit < good.size() * 8; ++bit) {
        std::vector<std::uint8_t> flipped = good;
        flipped[bit / 8] ^= std::uint8_t(1u << (bit % 8));
        EXPECT_NE(stream_from_state(flipped, restored), RC_OK) << "bit " << bit;
    }
    EXPECT_EQ(restored, nullptr);

    const IndicatorInfo& ema = *find_indicator("ema");
    std::unique_ptr<Stream> other;
    ASSERT_EQ(make_stream(ema, &period, 1, other), RC_OK);
    const std::vector<std::uint8_t> before = other->save();
    EXPECT_EQ(other->restore(good), RC_STATE_MISMATCH);
    EXPECT_EQ(other->save(), before);
}

// A state altered in any byte, its checksum made good again: if it restores,
// its warm-up agrees with the bars it says it has seen, so its first output
// comes at the bar the lookback says and not before its window is full (a
// rolling median that stepped early put values in slots before the first).
TEST(StreamState, RestoredWarmUpAgreesWithTheBarsSeen) {
    for (const char* name : {"rolling_median", "midpoint", "mom"}) {
        SCOPED_TRACE(name);
        const IndicatorInfo& info = *find_indicator(name);
        const double period = 12;
        std::unique_ptr<Stream> stream;
        ASSERT_EQ(make_stream(info, &period, 1, stream), RC_OK);
        const auto inputs = make_inputs(info, 5, SeriesKind::prices, 4);
        double out[MAX_OUTPUTS];
        for (double value : inputs[0]) stream->update(&value, out);
        std::vector<std::uint8_t> body = stream->save();
        body.resize(body.size() - 4);
        int restored_count = 0;
        for (std::size_t at = 0; at < body.size(); ++at) {
            for (std::uint8_t byte : {0x00, 0x01, 0x07, 0xff}) {
                std::vector<std::uint8_t> altered = body;
                altered[at] = byte;
                const std::uint32_t checksum = state_checksum(altered);
                for (int b = 0; b < 4; ++b) altered.push_back(std::uint8_t(checksum >> (8 * b)));
                std::unique_ptr<Stream> restored;
                if (stream_from_state(altered, restored) != RC_OK) continue;
                ++restored_count;
                const Index first = std::max(restored->bars(), restored->lookback());
                for (Index bar = restored->bars(); bar <= first; ++bar) {
                    const double value = 100.0 + double(bar);
                    ASSERT_EQ(restored->update(&value, out), bar == first) << "byte " << at << " = " << int(byte);
                }
            }
        }
        EXPECT_GT(restored_count, 0);
    }
}

// A set of K streams fed a bar of every symbol at a time: each symbol gets
// the bits of its own batch call, at every bar, whether it runs in lanes or
// alone (five symbols: two pairs of lanes and one left over).
TEST(StreamSet, EverySymbolMatchesItsBatchEveryIndicator) {
    constexpr std::size_t SYMBOLS = 5, BARS = 300;
    const SeriesKind kinds[] = {SeriesKind::prices, SeriesKind::ties, SeriesKind::gaps};
    for (const IndicatorInfo& info : indicator_table()) {
        const auto sets = parameter_sets(info, std::hash<std::string>{}(info.name) + 1);
        for (std::size_t p = 0; p < 2; ++p) {
            const auto& params = sets[p];
            SCOPED_TRACE(describe(info, params));
            std::vector<std::vector<std::vector<double>>> inputs;  // [symbol][input][bar]
            std::vector<BatchResult> batches;
            for (std::size_t s = 0; s < SYMBOLS; ++s) {
                inputs.push_back(make_inputs(info, BARS, kinds[s % 3], 100 + s));
                batches.push_back(run_batch(info, inputs.back(), params));
                ASSERT_EQ(batches.back().code, RC_OK);
            }
            std::unique_ptr<Stream> prototype;
            ASSERT_EQ(make_stream(info, params.data(), info.param_count(), prototype), RC_OK);
            const std::unique_ptr<StreamSet> set = prototype->make_set(SYMBOLS);

            std::vector<std::vector<double>> bar(std::size_t(info.input_count()), std::vector<double>(SYMBOLS));
            std::vector<std::vector<double>> out(std::size_t(info.output_count()), std::vector<double>(SYMBOLS));
            std::vector<const double*> bar_arrays;
            std::vector<double*> out_arrays;
            for (auto& values : bar) bar_arrays.push_back(values.data());
            for (auto& values : out) out_arrays.push_back(values.data());
            for (std::size_t t = 0; t < BARS; ++t) {
                for (std::size_t k = 0; k < bar.size(); ++k)
                    for (std::size_t s = 0; s < SYMBOLS; ++s) bar[k][s] = inputs[s][k][t];
                const bool has_value = set->update(bar_arrays.data(), out_arrays.data());
                const BatchResult& batch = batches[0];
                ASSERT_EQ(has_value, batch.count > 0 && std::int64_t(t) >= batch.begin) << "bar " << t;
                if (!has_value) continue;
                for (std::size_t s = 0; s < SYMBOLS; ++s)
                    for (std::size_t k = 0; k < out.size(); ++k) {
                        const double want = batches[s].outputs[k][t - std::size_t(batches[s].begin)];
                        ASSERT_TRUE(same_result(want, out[k][s]))
                            << "bar " << t << " symbol " << s << " output " << k << ": batch " << want << ", set "
                            << out[k][s];
                    }
            }
            EXPECT_EQ(set->bars(), Index(BARS));
        }
    }
}

// The C interface of sets: arguments checked, results in place over the
// inputs, and an empty set.
TEST(StreamSetCInterface, CreateUpdateInPlace) {
    const std::int32_t rsi = movlex_indicator_find("rsi");
    const double period = 3;
    MovlexStreamSet* set = nullptr;
    EXPECT_EQ(movlex_stream_set_create(-1, &period, 1, 3, &set), RC_UNKNOWN_INDICATOR);
    EXPECT_EQ(movlex_stream_set_create(rsi, &period, 1, -1, &set), RC_BAD_ARGUMENT);
    const double bad_period = 0;
    EXPECT_EQ(movlex_stream_set_create(rsi, &bad_period, 1, 3, &set), RC_BAD_ARGUMENT);
    EXPECT_EQ(set, nullptr);
    ASSERT_EQ(movlex_stream_set_create(rsi, &period, 1, 3, &set), RC_OK);

    // Symbol s is the close series shifted by s; outputs overwrite the inputs.
    const auto closes = make_inputs(*find_indicator("rsi"), 40, SeriesKind::prices, 4)[0];
    std::vector<BatchResult> batches;
    for (int s = 0; s < 3; ++s) {
        std::vector<double> shifted(closes.begin() + s, closes.begin() + s + 30);
        std::array<double, MAX_PARAMS> params{period};
        batches.push_back(run_batch(*find_indicator("rsi"), {shifted}, params));
    }
    std::int32_t has_value = -1;
    EXPECT_EQ(movlex_stream_set_update(set, nullptr, nullptr, &has_value), RC_BAD_ARGUMENT);
    for (std::size_t t = 0; t < 30; ++t) {
        double values[3] = {closes[t], closes[t + 1], closes[t + 2]};
        const double* in = values;
        double* out = values;
        ASSERT_EQ(movlex_stream_set_update(set, &in, &out, &has_value), RC_OK);
        ASSERT_EQ(has_value, std::int64_t(t) >= batches[0].begin ? 1 : 0);
        if (has_value)
            for (int s = 0; s < 3; ++s) EXPECT_TRUE(same_bits(values[s], batches[s].outputs[0][t - std::size_t(batches[s].begin)])) << t;
    }
    std::int64_t bars = 0;
    std::int32_t symbols = 0;
    ASSERT_EQ(movlex_stream_set_bars(set, &bars), RC_OK);
    ASSERT_EQ(movlex_stream_set_symbols(set, &symbols), RC_OK);
    EXPECT_EQ(bars, 30);
    EXPECT_EQ(symbols, 3);
    movlex_stream_set_destroy(set);

    ASSERT_EQ(movlex_stream_set_create(rsi, &period, 1, 0, &set), RC_OK);
    for (int t = 0; t < 5; ++t) {
        const double* none = nullptr;
        double* nowhere = nullptr;
        ASSERT_EQ(movlex_stream_set_update(set, &none, &nowhere, &has_value), RC_BAD_ARGUMENT);
        double unused = 0;
        const double* in = &unused;
        double* out = &unused;
        ASSERT_EQ(movlex_stream_set_update(set, &in, &out, &has_value), RC_OK);
        EXPECT_EQ(has_value, t >= batches[0].begin ? 1 : 0);
    }
    movlex_stream_set_destroy(set);
    movlex_stream_set_destroy(nullptr);
}

// The C interface over the same streams.
TEST(StreamCInterface, CreateUpdateCopySaveRestore) {
    const std::int32_t sma = movlex_indicator_find("sma");
    ASSERT_GE(sma, 0);
    EXPECT_STREQ(movlex_indicator_name(sma), "sma");
    EXPECT_EQ(movlex_indicator_find("no such"), -1);
    MovlexStream* stream = nullptr;
    EXPECT_EQ(movlex_stream_create(sma, nullptr, 0, &stream), RC_OK);  // period 30 by default
    movlex_stream_destroy(stream);
    const double period = 3;
    const double bad_period = 1;
    EXPECT_EQ(movlex_stream_create(sma, &bad_period, 1, &stream), RC_BAD_ARGUMENT);
    EXPECT_EQ(movlex_stream_create(-1, &period, 1, &stream), RC_UNKNOWN_INDICATOR);
    ASSERT_EQ(movlex_stream_create(sma, &period, 1, &stream), RC_OK);

    double out = 0;
    std::int32_t has_value = -1;
    for (double value : {1.0, 2.0}) {
        ASSERT_EQ(movlex_stream_update(stream, &value, &out, &has_value), RC_OK);
        EXPECT_EQ(has_value, 0);
    }
    const double third = 6.0;
    ASSERT_EQ(movlex_stream_update(stream, &third, &out, &has_value), RC_OK);
    EXPECT_EQ(has_value, 1);
    EXPECT_EQ(out, 3.0);

    std::size_t size = 0;
    EXPECT_EQ(movlex_stream_save(stream, nullptr, 0, &size), RC_BUFFER_TOO_SMALL);
    std::vector<std::uint8_t> buffer(size);
    ASSERT_EQ(movlex_stream_save(stream, buffer.data(), buffer.size(), &size), RC_OK);
    MovlexStream* restored = nullptr;
    ASSERT_EQ(movlex_stream_from_state(buffer.data(), buffer.size(), &restored), RC_OK);
    MovlexStream* copy = nullptr;
    ASSERT_EQ(movlex_stream_copy(stream, &copy), RC_OK);
    for (MovlexStream* s : {stream, restored, copy}) {
        const double next = 9.0;
        ASSERT_EQ(movlex_stream_update(s, &next, &out, &has_value), RC_OK);
        EXPECT_EQ(out, (2.0 + 6.0 + 9.0) / 3.0);
        std::int64_t bars = 0;
        ASSERT_EQ(movlex_stream_bars(s, &bars), RC_OK);
        EXPECT_EQ(bars, 4);
    }
    buffer[3] ^= 1;
    EXPECT_EQ(movlex_stream_restore(copy, buffer.data(), buffer.size()), RC_STATE_CORRUPT);
    for (MovlexStream* s : {stream, restored, copy}) movlex_stream_destroy(s);
    movlex_stream_destroy(nullptr);
}

}  // namespace
}  // namespace movlex::test
