// Many series at once: every indicator of the table over K series of N bars
// (K = 512, N = 10,000; MOVLEX_BENCH_SERIES=K and MOVLEX_BENCH_BARS=N change
// them), three ways in every iteration, each timed on its own:
//
//   single   the batch entry called once per series, writing the values where
//            movlex_batch does (bar t at index t of the series' block),
//   engine   movlex_batch on one thread (the benchmark's time),
//   engine2  movlex_batch on two threads,
//   set      a stream set of the K symbols (movlex_stream_set_update) fed
//            one bar of every symbol at a time, from bar-major copies of the
//            inputs, as a host receiving the universe at each bar would.
//
// Counters: speedup = single / engine, speedup_2t = single / engine2,
// scaling_2t = engine / engine2, set_vs_single = set / single (all per
// series and bar), and
// single_vs_floor, engine_vs_floor: the cost of a value as a ratio to the
// dependency chain that bounds the indicator, measured in the same run:
//
//   floor/add_sub   x = (x + a[i]) - b[i]       (running sums: SMA, windows)
//   floor/ema       e = e + (a[i] - e) * k      (the EMA family)
//   floor/wilder    w = (w * (p - 1) + a[i]) / p  (RSI, CMO, ATR, NATR, the
//                                               directional family)
//
// Ratios move little when the machine is busy; the absolute times do.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "api/indicator_table.hpp"
#include "frame/series_engine.hpp"
#include "movlex_batch.h"
#include "price_walk.hpp"
#include "movlex_stream.h"

namespace {

using namespace movlex;
using Clock = std::chrono::steady_clock;

std::size_t from_environment(const char* name, std::size_t fallback) {
    const char* text = std::getenv(name);
    const long value = text != nullptr ? std::atol(text) : 0;
    return value > 0 ? std::size_t(value) : fallback;
}

const std::size_t SERIES = from_environment("MOVLEX_BENCH_SERIES", 512);
const std::size_t BARS = from_environment("MOVLEX_BENCH_BARS", 10000);

// Open, high, low, close and volume of every series, one series after another:
// the price-like walk of bench/price_walk.hpp, from seed s + 1 for series s.
struct Universe {
    std::array<std::vector<double>, 5> columns;

    Universe() {
        for (auto& column : columns) column.resize(SERIES * BARS);
        for (std::size_t s = 0; s < SERIES; ++s) {
            movlex_bench::PriceWalk walk(s + 1);
            for (std::size_t i = s * BARS; i < (s + 1) * BARS; ++i) {
                const movlex_bench::PriceBar bar = walk.next();
                columns[0][i] = bar.open;
                columns[1][i] = bar.high;
                columns[2][i] = bar.low;
                columns[3][i] = bar.close;
                columns[4][i] = bar.volume;
            }
        }
    }

    const double* column(std::string_view input) const {
        if (input == "open") return columns[0].data();
        if (input == "high") return columns[1].data();
        if (input == "low") return columns[2].data();
        if (input == "volume") return columns[4].data();
        return columns[3].data();
    }
};

const Universe& universe() {
    static const Universe shared;
    return shared;
}

// The universe's column `input` bar by bar: the values of every series at bar
// t lie at t * SERIES .. t * SERIES + SERIES - 1.
const std::vector<double>& bar_major(std::string_view input) {
    static std::array<std::vector<double>, 5> made;
    const double* source = universe().column(input);
    std::size_t c = 0;
    while (universe().columns[c].data() != source) ++c;
    if (made[c].empty()) {
        made[c].resize(SERIES * BARS);
        for (std::size_t s = 0; s < SERIES; ++s)
            for (std::size_t t = 0; t < BARS; ++t) made[c][t * SERIES + s] = source[s * BARS + t];
    }
    return made[c];
}

// ---- The floors ----------------------------------------------------------

enum class Floor { add_sub, ema, wilder };

const char* floor_name(Floor floor) {
    switch (floor) {
        case Floor::add_sub: return "add_sub";
        case Floor::ema: return "ema";
        default: return "wilder";
    }
}

// One chain of the floor's step over the closes of the first series,
// repeated; returns the chain's last value.
double run_floor(Floor floor, const double* a, const double* b, std::size_t steps) {
    double x = a[0];
    const double k = 2.0 / 15.0, p = 14.0;
    for (std::size_t i = 0; i < steps; ++i) {
        const std::size_t j = i % BARS;
        switch (floor) {
            case Floor::add_sub: x = (x + a[j]) - b[j]; break;
            case Floor::ema: x = x + (a[j] - x) * k; break;
            case Floor::wilder: x = (x * (p - 1.0) + a[j]) / p; break;
        }
    }
    return x;
}

// Nanoseconds per step of the floor's chain, the best of a few runs.
double floor_ns(Floor floor) {
    static std::array<double, 3> measured{};
    double& ns = measured[std::size_t(floor)];
    if (ns > 0) return ns;
    const double* a = universe().column("close");
    const double* b = universe().column("open");
    const std::size_t steps = 4 * BARS;
    double best = 1e300;
    for (int run = 0; run < 20; ++run) {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(run_floor(floor, a, b, steps));
        best = std::min(best, std::chrono::duration<double, std::nano>(Clock::now() - start).count() / double(steps));
    }
    return ns = best;
}

void floor_benchmark(benchmark::State& state, Floor floor) {
    const double* a = universe().column("close");
    const double* b = universe().column("open");
    for (auto _ : state) benchmark::DoNotOptimize(run_floor(floor, a, b, BARS));
    state.counters["time_per_step"] =
        benchmark::Counter(double(BARS), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

Floor floor_of(std::string_view name) {
    for (std::string_view wilder : {"rsi", "cmo", "atr", "natr", "plus_dm", "minus_dm", "plus_di", "minus_di", "dx",
                                    "adx", "adxr", "stochrsi"})
        if (name == wilder) return Floor::wilder;
    for (std::string_view ema : {"ema", "dema", "tema", "t3", "apo", "ppo", "macd", "mac2", "adosc"})
        if (name == ema) return Floor::ema;
    return Floor::add_sub;
}

// ---- The indicators --------------------------------------------------------

struct Arrays {
    std::vector<const double*> inputs;
    std::vector<std::vector<double>> outputs;
    std::vector<double*> output_arrays;
};

Arrays arrays_for(const IndicatorInfo& info) {
    Arrays arrays;
    for (int k = 0; k < info.input_count(); ++k) arrays.inputs.push_back(universe().column(info.inputs[k]));
    arrays.outputs.assign(std::size_t(info.output_count()), std::vector<double>(SERIES * BARS));
    for (auto& output : arrays.outputs) arrays.output_arrays.push_back(output.data());
    return arrays;
}

double seconds(const std::function<bool()>& body) {
    const auto start = Clock::now();
    const bool ok = body();
    benchmark::ClobberMemory();
    return ok ? std::chrono::duration<double>(Clock::now() - start).count() : -1.0;
}

void series_benchmark(benchmark::State& state, const IndicatorInfo* info) {
    Arrays arrays = arrays_for(*info);
    const std::int32_t number = std::int32_t(info - indicator_table().data());
    std::array<double, MAX_PARAMS> params{};
    for (int p = 0; p < info->param_count(); ++p) params[p] = info->params[p].default_value;

    // The entry writes each series' values where movlex_batch does: the value
    // of bar t at index t of the series' block.
    const std::int32_t lookback = info->lookback(params.data());
    auto single = [&] {
        Request request;
        request.last_index = std::int32_t(BARS) - 1;
        request.params = params;
        std::int32_t begin = 0, count = 0;
        request.out_begin = &begin;
        request.out_count = &count;
        for (std::size_t s = 0; s < SERIES; ++s) {
            for (int k = 0; k < info->input_count(); ++k) request.inputs[k] = arrays.inputs[k] + s * BARS;
            for (int k = 0; k < info->output_count(); ++k)
                request.outputs[k] = arrays.output_arrays[k] + s * BARS + lookback;
            if (info->invoke(request) != RC_OK) return false;
        }
        return true;
    };
    auto engine = [&](std::int32_t threads) {
        std::int32_t begin = 0, count = 0;
        return movlex_batch(number, params.data(), info->param_count(), std::int32_t(SERIES), std::int32_t(BARS),
                            arrays.inputs.data(), std::int64_t(BARS), arrays.output_arrays.data(),
                            std::int64_t(BARS), threads, &begin, &count) == RC_OK;
    };

    std::vector<const double*> by_bar;
    for (int k = 0; k < info->input_count(); ++k) by_bar.push_back(bar_major(info->inputs[k]).data());
    std::vector<std::vector<double>> set_out(std::size_t(info->output_count()), std::vector<double>(SERIES));
    auto set = [&] {
        MovlexStreamSet* made = nullptr;
        if (movlex_stream_set_create(number, params.data(), info->param_count(), std::int32_t(SERIES), &made) != RC_OK)
            return false;
        std::vector<const double*> in(by_bar.size());
        std::vector<double*> out;
        for (auto& values : set_out) out.push_back(values.data());
        std::int32_t has_value = 0;
        for (std::size_t t = 0; t < BARS; ++t) {
            for (std::size_t k = 0; k < in.size(); ++k) in[k] = by_bar[k] + t * SERIES;
            movlex_stream_set_update(made, in.data(), out.data(), &has_value);
            benchmark::DoNotOptimize(set_out.front().data());
        }
        movlex_stream_set_destroy(made);
        return true;
    };

    double single_total = 0, engine_total = 0, engine2_total = 0, set_total = 0;
    for (auto _ : state) {
        const double t_single = seconds(single);
        const double t_engine = seconds([&] { return engine(1); });
        const double t_engine2 = seconds([&] { return engine(2); });
        const double t_set = seconds(set);
        set_total += t_set;
        if (t_single < 0 || t_engine < 0 || t_engine2 < 0 || t_set < 0) {
            state.SkipWithError("a call failed");
            return;
        }
        single_total += t_single;
        engine_total += t_engine;
        engine2_total += t_engine2;
        state.SetIterationTime(t_engine);
    }
    const double values = double(state.iterations()) * double(SERIES * BARS);
    const double floor_cost = floor_ns(floor_of(info->name));
    state.counters["speedup"] = single_total / engine_total;
    state.counters["speedup_2t"] = single_total / engine2_total;
    state.counters["scaling_2t"] = engine_total / engine2_total;
    state.counters["set_vs_single"] = set_total / single_total;
    state.counters["single_vs_floor"] = single_total * 1e9 / values / floor_cost;
    state.counters["engine_vs_floor"] = engine_total * 1e9 / values / floor_cost;
    state.SetLabel(std::string("floor ") + floor_name(floor_of(info->name)));
}

void register_all() {
    for (Floor floor : {Floor::add_sub, Floor::ema, Floor::wilder})
        benchmark::RegisterBenchmark((std::string("floor/") + floor_name(floor)).c_str(), floor_benchmark, floor);
    for (const IndicatorInfo& info : indicator_table())
        benchmark::RegisterBenchmark((std::string("series/") + info.name).c_str(), series_benchmark, &info)
            ->UseManualTime()
            ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    const char* lanes[] = {"baseline", "avx2", "avx512"};
    benchmark::AddCustomContext("lane_target", lanes[int(movlex::best_lane_target())]);
    register_all();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
