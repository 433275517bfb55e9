// Each candlestick pattern, and the scan of them all, over 1,000,000
// price-like bars (MOVLEX_BENCH_BARS=N for another count): the walk of
// bench/price_walk.hpp, which stays near 100.
// Counter ns_per_bar: the time per bar, in ns.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "frame/kernel.hpp"
#include "patterns/pattern_kernel.hpp"
#include "patterns/scan.hpp"
#include "price_walk.hpp"

namespace {

using namespace movlex;

struct Candles {
    std::array<std::vector<double>, 4> columns;  // open, high, low, close
    std::array<const double*, 4> inputs() const {
        return {columns[0].data(), columns[1].data(), columns[2].data(), columns[3].data()};
    }
};

const Candles& candles() {
    static const Candles made = [] {
        const char* text = std::getenv("MOVLEX_BENCH_BARS");
        const std::size_t count = text != nullptr ? std::size_t(std::atol(text)) : 1000000;
        Candles c;
        movlex_bench::PriceWalk walk(12345);
        for (std::size_t i = 0; i < count; ++i) {
            const movlex_bench::PriceBar bar = walk.next();
            c.columns[0].push_back(bar.open);
            c.columns[1].push_back(bar.high);
            c.columns[2].push_back(bar.low);
            c.columns[3].push_back(bar.close);
        }
        return c;
    }();
    return made;
}

// Seconds per bar, shown in ns.
benchmark::Counter per_bar(std::size_t bars) {
    return benchmark::Counter(double(bars), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
                              benchmark::Counter::kIs1000);
}

template <class Detector>
void pattern(benchmark::State& state) {
    const Candles& c = candles();
    const Index last = Index(c.columns[3].size()) - 1;
    std::vector<double> out(c.columns[3].size());
    for (auto _ : state) {
        run_kernel(PatternKernel<Detector>(CandleSettings{}), c.inputs(), 0, last, std::array<double*, 1>{out.data()});
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["ns_per_bar"] = per_bar(c.columns[3].size());
}

void scan(benchmark::State& state) {
    const Candles& c = candles();
    const std::size_t bars = c.columns[3].size();
    std::vector<std::int8_t> out(bars * std::size_t(CANDLE_PATTERN_COUNT));
    const PointerBars<4> inputs{c.inputs()};
    for (auto _ : state) {
        ScanKernel kernel{CandleSettings{}};
        std::int8_t* row = out.data();
        for (Index i = 0; i < Index(bars); ++i)
            if (kernel.step(inputs, i, row)) row += CANDLE_PATTERN_COUNT;
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["ns_per_bar"] = per_bar(bars);
}

int register_all() {
#define MOVLEX_PATTERN_BENCH(name) \
    benchmark::RegisterBenchmark("candle/" #name, &pattern<patterns::name>)->Unit(benchmark::kMillisecond);
    MOVLEX_CANDLE_PATTERNS(MOVLEX_PATTERN_BENCH)
#undef MOVLEX_PATTERN_BENCH
    benchmark::RegisterBenchmark("candle/scan", &scan)->Unit(benchmark::kMillisecond);
    return 0;
}

const int registered = register_all();

}  // namespace
