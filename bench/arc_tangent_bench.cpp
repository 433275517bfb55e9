// The library's arc tangent against the runtime's, and MAMA with each:
//  - arc_tangent/<which>/<arguments>: time per call (counter time_per_call, in
//    ns) over the same arguments for both, either those MAMA passes over a
//    price-like walk (bench/price_walk.hpp, "mama") or uniform on [-4, 4] ("uniform");
//  - mama_with/<which>: MAMA over 1,000,000 bars (MOVLEX_BENCH_BARS), time per
//    output value (counter time_per_output, in ns).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "averages/arc_tangent.hpp"
#include "averages/mesa.hpp"
#include "price_walk.hpp"

namespace {

using namespace movlex;

double runtime_arc_tangent(double x) { return std::atan(x); }

std::size_t bar_count() {
    const char* text = std::getenv("MOVLEX_BENCH_BARS");
    const long count = text != nullptr ? std::atol(text) : 0;
    return count > 0 ? std::size_t(count) : 1000000;
}

const std::vector<double>& prices() {
    static const std::vector<double> shared = movlex_bench::price_closes(bar_count(), 42);
    return shared;
}

constexpr std::size_t ARGUMENT_COUNT = 8192;

// MAMA over input[0 .. count - 1] with the given arc tangent: the library's
// kernel with another arc tangent in its place (fast limit 0.5, slow 0.05, no
// unstable period); returns the number of outputs.
template <double (*ArcTangent)(double)>
std::int32_t mama_over(const std::vector<double>& input, std::vector<double>& mama, std::vector<double>& fama) {
    const MamaKernelWith<ArcTangent> kernel(0.5, 0.05, 0);
    const Index last = Index(input.size()) - 1;
    if (kernel.lookback() > last) return 0;
    run_kernel(kernel, std::array{input.data()}, 0, last, std::array{mama.data(), fama.data()});
    return std::int32_t(last - kernel.lookback() + 1);
}

std::vector<double>* recorded = nullptr;

double recording_arc_tangent(double x) {
    if (recorded->size() < ARGUMENT_COUNT) recorded->push_back(x);
    return arc_tangent(x);
}

// The arguments MAMA passes to its arc tangent, in the order it passes them.
std::vector<double> mama_arguments() {
    const std::vector<double> walk = movlex_bench::price_closes(2 * ARGUMENT_COUNT, 42);
    std::vector<double> arguments, mama(walk.size()), fama(walk.size());
    recorded = &arguments;
    mama_over<recording_arc_tangent>(walk, mama, fama);
    recorded = nullptr;
    return arguments;
}

std::vector<double> uniform_arguments() {
    movlex_bench::PriceWalk walk(7);
    std::vector<double> arguments(ARGUMENT_COUNT);
    for (double& x : arguments) x = (walk.uniform() - 0.5) * 8.0;
    return arguments;
}

template <double (*ArcTangent)(double)>
void arc_tangent_calls(benchmark::State& state, std::vector<double> (*make_arguments)()) {
    const std::vector<double> arguments = make_arguments();
    std::vector<double> results(arguments.size());
    for (auto _ : state) {
        for (std::size_t i = 0; i < arguments.size(); ++i) results[i] = ArcTangent(arguments[i]);
        benchmark::DoNotOptimize(results.data());
        benchmark::ClobberMemory();
    }
    state.counters["time_per_call"] = benchmark::Counter(
        double(arguments.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <double (*ArcTangent)(double)>
void mama_with(benchmark::State& state) {
    const std::vector<double>& input = prices();
    std::vector<double> mama(input.size()), fama(input.size());
    std::int32_t count = 0;
    for (auto _ : state) {
        count = mama_over<ArcTangent>(input, mama, fama);
        benchmark::DoNotOptimize(mama.data());
        benchmark::ClobberMemory();
    }
    state.counters["time_per_output"] = benchmark::Counter(
        double(count), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

const bool registered = [] {
    using benchmark::RegisterBenchmark;
    RegisterBenchmark("arc_tangent/library/mama", arc_tangent_calls<arc_tangent>, mama_arguments);
    RegisterBenchmark("arc_tangent/runtime/mama", arc_tangent_calls<runtime_arc_tangent>, mama_arguments);
    RegisterBenchmark("arc_tangent/library/uniform", arc_tangent_calls<arc_tangent>, uniform_arguments);
    RegisterBenchmark("arc_tangent/runtime/uniform", arc_tangent_calls<runtime_arc_tangent>, uniform_arguments);
    RegisterBenchmark("mama_with/library", mama_with<arc_tangent>)->Unit(benchmark::kMillisecond);
    RegisterBenchmark("mama_with/runtime", mama_with<runtime_arc_tangent>)->Unit(benchmark::kMillisecond);
    return true;
}();

}  // namespace
