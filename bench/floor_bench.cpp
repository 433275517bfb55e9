// The carried chains that bound the recursive indicators, each alone over
// 1,000,000 values (MOVLEX_BENCH_BARS=N changes the count), reporting the
// time per step (counter time_per_output, in ns) to set beside the rows of
// the indicators they bound:
//
//   floor/ema         e = e + (a[i] - e) * k          (EMA, DEMA, TEMA)
//   floor/wilder      w = (w * (p - 1) + a[i]) / p    (RSI, CMO, ATR, NATR)
//   floor/wilder_sum  s = (s - s / p) + a[i]          (the directional family)
//
// An indicator can do no better than its chain; everything else it does on
// a bar is off the chain and can overlap with it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

std::size_t floor_bar_count() {
    const char* text = std::getenv("MOVLEX_BENCH_BARS");
    const long count = text != nullptr ? std::atol(text) : 0;
    return count > 0 ? std::size_t(count) : 1000000;
}

const std::vector<double>& floor_input() {
    static const std::vector<double> values = [] {
        std::vector<double> made(floor_bar_count());
        std::uint64_t state = 7;
        for (double& value : made) {
            state = state * 6364136223846793005ull + 1442695040888963407ull;
            value = double(state >> 11) / double(1ull << 53);
        }
        return made;
    }();
    return values;
}

enum class Chain { ema, wilder, wilder_sum };

template <Chain chain>
void run_chain(benchmark::State& state) {
    const std::vector<double>& input = floor_input();
    double k = 2.0 / 15.0, p = 14.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(k);
        benchmark::DoNotOptimize(p);
        double x = input[0];
        for (const double a : input) {
            if constexpr (chain == Chain::ema) x = x + (a - x) * k;
            if constexpr (chain == Chain::wilder) x = (x * (p - 1.0) + a) / p;
            if constexpr (chain == Chain::wilder_sum) x = (x - x / p) + a;
        }
        benchmark::DoNotOptimize(x);
    }
    state.counters["time_per_output"] = benchmark::Counter(
        double(input.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(run_chain<Chain::ema>)->Name("floor/ema")->Unit(benchmark::kMillisecond);
BENCHMARK(run_chain<Chain::wilder>)->Name("floor/wilder")->Unit(benchmark::kMillisecond);
BENCHMARK(run_chain<Chain::wilder_sum>)->Name("floor/wilder_sum")->Unit(benchmark::kMillisecond);

}  // namespace
