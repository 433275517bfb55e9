// The carried chains that bound the recursive indicators, each alone over
// 1,000,000 values (MOVLEX_BENCH_BARS=N changes the count), reporting the
// time per step (counter time_per_output, in ns) to set beside the rows of
// the indicators they bound:
//
//   floor/ema         e = e + (a[i] - e) * k          (EMA, DEMA, TEMA)
//   floor/wilder      w = (w * (p - 1) + a[i]) / p    (RSI, CMO, ATR, NATR)
//   floor/wilder_sum  s = (s - s / p) + a[i]          (the directional family)
//   floor/window_sum  s = (s + a[i]) - a[i - 14]      (running window sums:
//                                                      ULTOSC, MFI)
//
// An indicator can do no better than its chain; everything else it does on
// a bar is off the chain and can overlap with it, except where that work has
// a limit of its own: floor/division is the time per value of a division
// that nothing carries, two values at a time in lanes (ULTOSC needs four per
// bar, MFI two, so those multiples bound them too).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "frame/lanes.hpp"

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

enum class Chain { ema, wilder, wilder_sum, window_sum };

template <Chain chain>
void run_chain(benchmark::State& state) {
    const std::vector<double>& input = floor_input();
    double k = 2.0 / 15.0, p = 14.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(k);
        benchmark::DoNotOptimize(p);
        double x = input[0];
        if constexpr (chain == Chain::window_sum) {
            constexpr std::size_t width = 14;
            for (std::size_t i = width; i < input.size(); ++i) x = (x + input[i]) - input[i - width];
        } else {
            for (const double a : input) {
                if constexpr (chain == Chain::ema) x = x + (a - x) * k;
                if constexpr (chain == Chain::wilder) x = (x * (p - 1.0) + a) / p;
                if constexpr (chain == Chain::wilder_sum) x = (x - x / p) + a;
            }
        }
        benchmark::DoNotOptimize(x);
    }
    state.counters["time_per_output"] = benchmark::Counter(
        double(input.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(run_chain<Chain::ema>)->Name("floor/ema")->Unit(benchmark::kMillisecond);
BENCHMARK(run_chain<Chain::wilder>)->Name("floor/wilder")->Unit(benchmark::kMillisecond);
BENCHMARK(run_chain<Chain::wilder_sum>)->Name("floor/wilder_sum")->Unit(benchmark::kMillisecond);
BENCHMARK(run_chain<Chain::window_sum>)->Name("floor/window_sum")->Unit(benchmark::kMillisecond);

void run_division(benchmark::State& state) {
    using Pair = movlex::Lanes<2>;
    const std::vector<double>& input = floor_input();
    std::vector<double> quotients(input.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i + 3 <= input.size(); i += 2) {
            const Pair dividend = movlex::load_lanes<Pair>(&input[i]);
            const Pair divisor = movlex::load_lanes<Pair>(&input[i + 1]);
            movlex::store_lanes(&quotients[i], dividend / divisor);
        }
        benchmark::DoNotOptimize(quotients.data());
        benchmark::ClobberMemory();
    }
    state.counters["time_per_output"] = benchmark::Counter(
        double(input.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

BENCHMARK(run_division)->Name("floor/division")->Unit(benchmark::kMillisecond);

}  // namespace
