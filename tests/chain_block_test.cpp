// The batch path of the kernels that have one (steady_block) against the same
// kernel stepped one bar at a time, bit for bit: random walks, flat runs
// (equal moves, ranges inside the near-zero band, unchanged prices) and
// prices with NaN, infinities and zeros, over odd and even lengths (the path
// takes bars in pairs) and periods from 1 up.
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "directional/movement.hpp"
#include "directional/trend_strength.hpp"
#include "frame/kernel.hpp"
#include "oscillators/rsi.hpp"
#include "oscillators/ultimate.hpp"
#include "test_support.hpp"
#include "volume/money_flow.hpp"

namespace movlex::test {
namespace {

// The kernel without its batch path: run_kernel steps it bar by bar.
template <class Kernel>
struct StepOnly {
    static constexpr int inputs = Kernel::inputs;
    static constexpr int outputs = Kernel::outputs;
    Kernel kernel;
    Index history() const { return kernel.history(); }
    Index lookback() const { return kernel.lookback(); }
    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        return kernel.step(bars, i, out);
    }
    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        kernel.steady(bars, i, out);
    }
};

enum class Shape { walk, flat_runs, specials };

// Open, high, low, close and volume (the inputs read by position).
std::vector<std::vector<double>> make_columns(std::size_t count, Shape shape, std::uint64_t seed) {
    const Bars bars = make_bars(count, seed);
    std::vector<std::vector<double>> columns{bars.open, bars.high, bars.low, bars.close, bars.volume};
    std::mt19937_64 random(seed);
    for (std::size_t i = 1; i < count; ++i) {
        if (shape == Shape::flat_runs && random() % 3 != 0) {
            // The bar repeats the one before, or is a single price.
            const bool repeat = random() % 2 == 0;
            for (std::size_t k = 0; k < 4; ++k) columns[k][i] = repeat ? columns[k][i - 1] : columns[3][i - 1];
        } else if (shape == Shape::specials && random() % 41 == 0) {
            const double specials[] = {std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(), 0.0, -0.0};
            columns[random() % 5][i] = specials[random() % 5];
        }
    }
    return columns;
}

// Runs the kernel both ways over bars 0 .. count - 1 of the given columns
// and compares every output.
template <class Kernel, std::size_t N>
void expect_same_outputs(const Kernel& kernel, const std::vector<std::vector<double>>& columns,
                         const std::array<int, N>& which, std::size_t count) {
    const Index lookback = kernel.lookback();
    if (Index(count) <= lookback) return;
    std::array<const double*, N> inputs{};
    for (std::size_t k = 0; k < N; ++k) inputs[k] = columns[std::size_t(which[k])].data();
    const std::size_t values = count - std::size_t(lookback);
    std::vector<std::vector<double>> blocked(Kernel::outputs, std::vector<double>(values, -1.0));
    std::vector<std::vector<double>> stepped = blocked;
    std::array<double*, Kernel::outputs> blocked_out{}, stepped_out{};
    for (int k = 0; k < Kernel::outputs; ++k) {
        blocked_out[k] = blocked[k].data();
        stepped_out[k] = stepped[k].data();
    }
    run_kernel(kernel, inputs, 0, Index(count) - 1, blocked_out);
    run_kernel(StepOnly<Kernel>{kernel}, inputs, 0, Index(count) - 1, stepped_out);
    // Bit for bit, except that a NaN's sign and payload are not kept (as
    // between a stream and the batch entry).
    for (int k = 0; k < Kernel::outputs; ++k)
        for (std::size_t t = 0; t < values; ++t)
            if (!(std::isnan(stepped[k][t]) && std::isnan(blocked[k][t])))
                ASSERT_TRUE(same_bits(stepped[k][t], blocked[k][t]))
                    << "value " << t << ": stepped " << stepped[k][t] << ", batch path " << blocked[k][t];
}

constexpr int HIGH = 1, LOW = 2, CLOSE = 3, VOLUME = 4;

struct Case {
    std::string name;
    std::int32_t min_period;
    // Runs the kernel of the given period both ways over the first count bars.
    std::function<void(std::int32_t period, const std::vector<std::vector<double>>&, std::size_t count)> check;
};

template <class Kernel, std::size_t N>
Case case_of(std::string name, std::int32_t min_period, std::array<int, N> which, std::int32_t unstable = 0) {
    return {std::move(name), min_period,
            [which, unstable](std::int32_t period, const std::vector<std::vector<double>>& columns, std::size_t count) {
                expect_same_outputs(Kernel(period, unstable), columns, which, count);
            }};
}

std::vector<Case> cases() {
    return {
        case_of<PlusDmKernel>("PLUS_DM", 1, std::array{HIGH, LOW}),
        case_of<MinusDmKernel>("MINUS_DM", 1, std::array{HIGH, LOW}, 3),
        case_of<PlusDiKernel>("PLUS_DI", 1, std::array{HIGH, LOW, CLOSE}),
        case_of<MinusDiKernel>("MINUS_DI", 1, std::array{HIGH, LOW, CLOSE}, 5),
        case_of<DxKernel>("DX", 2, std::array{HIGH, LOW, CLOSE}),
        case_of<AdxKernel>("ADX", 2, std::array{HIGH, LOW, CLOSE}, 2),
        case_of<AdxrKernel>("ADXR", 2, std::array{HIGH, LOW, CLOSE}),
        case_of<RsiKernel>("RSI", 2, std::array{CLOSE}),
        case_of<CmoKernel>("CMO", 2, std::array{CLOSE}, 4),
        // The three periods out of order, two of them equal at periods 1 and 2.
        {"ULTOSC", 1,
         [](std::int32_t period, const std::vector<std::vector<double>>& columns, std::size_t count) {
             expect_same_outputs(UltoscKernel(2 * period + 1, period, period / 2 + 1), columns,
                                 std::array{HIGH, LOW, CLOSE}, count);
         }},
        {"MFI", 2,
         [](std::int32_t period, const std::vector<std::vector<double>>& columns, std::size_t count) {
             expect_same_outputs(MfiKernel(period, 3, OwnedWindow(2 * Index{period})), columns,
                                 std::array{HIGH, LOW, CLOSE, VOLUME}, count);
         }},
    };
}

TEST(ChainBlockPath, GivesTheBitsOfTheStepPath) {
    std::uint64_t seed = 3;
    for (const Case& tested : cases()) {
        for (const std::int32_t period : {1, 2, 3, 14, 300}) {
            if (period < tested.min_period) continue;
            for (const Shape shape : {Shape::walk, Shape::flat_runs, Shape::specials}) {
                const auto columns = make_columns(1500, shape, ++seed);
                const std::size_t lookback = std::size_t(2 * period + 8);
                for (const std::size_t steady : {1, 2, 3, 4, 5, 256, 701}) {
                    SCOPED_TRACE(tested.name + " period " + std::to_string(period) + " shape " +
                                 std::to_string(int(shape)) + " steady bars " + std::to_string(steady));
                    tested.check(period, columns, std::min(columns[0].size(), lookback + steady));
                }
            }
        }
    }
}

}  // namespace
}  // namespace movlex::test
