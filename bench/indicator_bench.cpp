// Every indicator of the table over 1,000,000 bars, reporting the time per
// output value (counter time_per_output, in ns). Indicators with a period run at
// periods 10 and 1000, which shows that an output costs the same whatever
// the period: the first integer parameter whose name ends in "period" (or in
// "period" and a number) takes
// the value, a second one (slow_period, ...) twice the value, each kept
// within its range; every other parameter keeps its default.
//
// Each indicator with a stream also runs as a stream fed the same bars one at
// a time ("stream/sma/period=10", counter time_per_update in ns), to set
// beside the batch cost per value, and again through the C interface
// ("stream_c/sma/period=10", movlex_stream_update), as a C host calls it.
//
// The bars are price-like (bench/price_walk.hpp): a random walk that stays
// near 100, with consistent open, high, low and volume.
//
// MOVLEX_BENCH_BARS=N runs over N bars instead. MOVLEX_BENCH_COLD_HEAP=1
// returns freed memory to the system before every batch call (malloc_trim,
// outside the timed region), as in a host whose heap is not warm: every
// scratch array then costs its page faults. MOVLEX_BENCH_SERIES=rising or
// falling replaces the walk by a steady trend (the case where a
// window's lowest or highest value leaves it at every bar);
// MOVLEX_BENCH_PERIODS=10,14,1000 sets the periods.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "api/indicator_table.hpp"
#include "api/stream.hpp"
#include "price_walk.hpp"
#include "movlex_stream.h"

namespace {

using namespace movlex;

struct Bars {
    std::vector<double> open, high, low, close, volume;

    const std::vector<double>& series(std::string_view name) const {
        if (name == "open") return open;
        if (name == "high") return high;
        if (name == "low") return low;
        if (name == "volume") return volume;
        return close;  // "close" and "input"
    }
};

std::string environment(const char* name) {
    const char* text = std::getenv(name);
    return text != nullptr ? text : "";
}

// The relative change of the close each bar under a steady trend up or down,
// or 0 for the price-like walk.
double trend() {
    const std::string series = environment("MOVLEX_BENCH_SERIES");
    if (series == "rising") return 0.0005;
    if (series == "falling") return -0.0005;
    return 0.0;
}

Bars make_bars(std::size_t count) {
    Bars bars;
    movlex_bench::PriceWalk walk(42, 100.0, trend());
    for (std::size_t i = 0; i < count; ++i) {
        const movlex_bench::PriceBar bar = walk.next();
        bars.open.push_back(bar.open);
        bars.high.push_back(bar.high);
        bars.low.push_back(bar.low);
        bars.close.push_back(bar.close);
        bars.volume.push_back(bar.volume);
    }
    return bars;
}

std::size_t bar_count() {
    const long count = std::atol(environment("MOVLEX_BENCH_BARS").c_str());
    return count > 0 ? std::size_t(count) : 1000000;
}

std::vector<std::int32_t> periods() {
    std::vector<std::int32_t> chosen;
    std::stringstream list(environment("MOVLEX_BENCH_PERIODS"));
    std::string item;
    while (std::getline(list, item, ','))
        if (const int period = std::atoi(item.c_str()); period > 0) chosen.push_back(period);
    if (chosen.empty()) chosen = {10, 1000};
    return chosen;
}

const Bars& bars() {
    static const Bars shared = make_bars(bar_count());
    return shared;
}

// "period", "slow_period", and the numbered "period1", "period2" of an
// indicator with several.
bool is_period(const ParamInfo& param) {
    std::string_view name(param.name);
    while (!name.empty() && name.back() >= '0' && name.back() <= '9') name.remove_suffix(1);
    return param.kind == ParamKind::integer && name.ends_with("period");
}

// The parameters for one run, and the run's name: "sma/period=10".
struct Setting {
    std::array<double, MAX_PARAMS> params{};
    std::string name;
};

Setting setting_for(const IndicatorInfo& info, std::int32_t period) {
    Setting setting{{}, info.name};
    int periods_set = 0;
    for (int p = 0; p < info.param_count(); ++p) {
        const ParamInfo& param = info.params[p];
        setting.params[p] = param.default_value;
        if (!is_period(param) || periods_set == 2) continue;
        const double wanted = double(period) * (periods_set == 0 ? 1 : 2);
        setting.params[p] = std::clamp(wanted, param.min, param.max);
        setting.name += '/';
        setting.name += param.name;
        setting.name += '=';
        setting.name += std::to_string(std::int64_t(setting.params[p]));
        ++periods_set;
    }
    return setting;
}

void run_indicator(benchmark::State& state, const IndicatorInfo* info, Setting setting) {
    const Bars& data = bars();
    const std::size_t count = data.close.size();
    Request request;
    request.first_index = 0;
    request.last_index = std::int32_t(count - 1);
    for (int i = 0; i < info->input_count(); ++i) request.inputs[i] = data.series(info->inputs[i]).data();
    request.params = setting.params;
    std::vector<std::vector<double>> outputs(info->output_count(), std::vector<double>(count));
    for (int o = 0; o < info->output_count(); ++o) request.outputs[o] = outputs[o].data();
    std::int32_t begin = 0, written = 0;
    request.out_begin = &begin;
    request.out_count = &written;
    const bool cold_heap = std::getenv("MOVLEX_BENCH_COLD_HEAP") != nullptr;
    for (auto _ : state) {
        if (cold_heap) {
            state.PauseTiming();
            malloc_trim(0);
            state.ResumeTiming();
        }
        const RetCode code = info->invoke(request);
        if (code != RC_OK) {
            std::string message = "failed with code ";
            message += std::to_string(code);
            state.SkipWithError(message.c_str());
            return;
        }
        benchmark::DoNotOptimize(outputs.front().data());
        benchmark::ClobberMemory();
    }
    // Outputs per second over all iterations, inverted: the time per output
    // value, shown in ns ("time_per_output=1.2ns").
    state.counters["time_per_output"] = benchmark::Counter(
        double(written), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    state.counters["outputs"] = double(written);
}

void run_stream(benchmark::State& state, const IndicatorInfo* info, Setting setting) {
    const Bars& data = bars();
    const std::size_t count = data.close.size();
    std::vector<const double*> series;
    for (int i = 0; i < info->input_count(); ++i) series.push_back(data.series(info->inputs[i]).data());
    double sink = 0;
    for (auto _ : state) {
        std::unique_ptr<Stream> stream;
        if (make_stream(*info, setting.params.data(), info->param_count(), stream) != RC_OK) {
            state.SkipWithError("the stream could not be made");
            return;
        }
        double bar[MAX_INPUTS], out[MAX_OUTPUTS] = {};
        for (std::size_t t = 0; t < count; ++t) {
            for (std::size_t k = 0; k < series.size(); ++k) bar[k] = series[k][t];
            if (stream->update(bar, out)) sink += out[0];
        }
    }
    benchmark::DoNotOptimize(sink);
    state.counters["time_per_update"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void run_c_stream(benchmark::State& state, const IndicatorInfo* info, Setting setting) {
    const Bars& data = bars();
    const std::size_t count = data.close.size();
    std::vector<const double*> series;
    for (int i = 0; i < info->input_count(); ++i) series.push_back(data.series(info->inputs[i]).data());
    const std::int32_t number = std::int32_t(info - indicator_table().data());
    double sink = 0;
    for (auto _ : state) {
        MovlexStream* stream = nullptr;
        if (movlex_stream_create(number, setting.params.data(), info->param_count(), &stream) != RC_OK) {
            state.SkipWithError("the stream could not be made");
            return;
        }
        double bar[MAX_INPUTS], out[MAX_OUTPUTS] = {};
        std::int32_t has_value = 0;
        for (std::size_t t = 0; t < count; ++t) {
            for (std::size_t k = 0; k < series.size(); ++k) bar[k] = series[k][t];
            movlex_stream_update(stream, bar, out, &has_value);
            if (has_value) sink += out[0];
        }
        movlex_stream_destroy(stream);
    }
    benchmark::DoNotOptimize(sink);
    state.counters["time_per_update"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void register_all() {
    for (const IndicatorInfo& info : indicator_table()) {
        bool has_period = false;
        for (int p = 0; p < info.param_count(); ++p) has_period = has_period || is_period(info.params[p]);
        for (std::int32_t period : periods()) {
            const Setting setting = setting_for(info, period);
            benchmark::RegisterBenchmark(setting.name.c_str(), run_indicator, &info, setting)
                ->Unit(benchmark::kMillisecond);
            if (info.stream != nullptr) {
                benchmark::RegisterBenchmark(("stream/" + setting.name).c_str(), run_stream, &info, setting)
                    ->Unit(benchmark::kMillisecond);
                benchmark::RegisterBenchmark(("stream_c/" + setting.name).c_str(), run_c_stream, &info, setting)
                    ->Unit(benchmark::kMillisecond);
            }
            if (!has_period) break;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    register_all();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
