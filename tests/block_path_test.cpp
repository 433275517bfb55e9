// The batch run takes some kernels a block of bars at a time (the carried
// state bar by bar, the rest over the block in lanes); the streams and the
// many-series engine take every bar through step(). Both must give the same
// bits, whatever the block boundaries fall on: range lengths that are not a
// multiple of a block, periods shorter and longer than the lanes, a first
// index inside the series, flat stretches where the deviation's floor bites.
#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "api/indicator_table.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "oscillators/commodity_channel.hpp"
#include "oscillators/ultimate.hpp"
#include "statistics/bollinger.hpp"
#include "statistics/variance.hpp"
#include "test_support.hpp"
#include "volume/money_flow.hpp"

namespace movlex::test {
namespace {

// Price-like bars with flat stretches (equal closes, highs and lows) of 3 to
// 40 bars every few hundred bars.
Bars bars_with_flat_stretches(std::size_t count, std::uint64_t seed) {
    Bars bars = make_bars(count, seed);
    for (std::size_t start = 150, length = 3; start + length < count; start += 311, length = length * 3 % 41 + 3)
        for (std::size_t i = start; i < start + length; ++i) {
            bars.high[i] = bars.low[i] = bars.close[i] = bars.close[start];
        }
    return bars;
}

const std::vector<double>& series_of(const Bars& bars, std::string_view input) {
    if (input == "high") return bars.high;
    if (input == "low") return bars.low;
    if (input == "volume") return bars.volume;
    return bars.close;  // "close" and "input"
}

// The outputs of bars seed + lookback .. end, every bar through step().
template <class Kernel>
std::vector<std::vector<double>> stepped(Kernel kernel, const std::array<const double*, Kernel::inputs>& inputs,
                                         Index seed, Index end) {
    const PointerBars<Kernel::inputs> bars{inputs};
    std::vector<std::vector<double>> outputs(Kernel::outputs);
    double value[Kernel::outputs];
    for (Index i = seed; i <= end; ++i)
        if (kernel.step(bars, i, value))
            for (int k = 0; k < Kernel::outputs; ++k) outputs[k].push_back(value[k]);
    return outputs;
}

struct BlockCase {
    const char* name;
    std::vector<double> params;  // period first
};

template <class Make>
void check_against_steps(const BlockCase& c, const Bars& bars, Make make) {
    const IndicatorInfo* info = find_indicator(c.name);
    ASSERT_NE(info, nullptr);
    std::array<double, MAX_PARAMS> params{};
    std::copy(c.params.begin(), c.params.end(), params.begin());
    const auto kernel = make(params.data(), current_unstable_periods());
    const Index last = Index(bars.size()) - 1;
    for (Index first : {Index{0}, Index{1}, Index{137}, kernel.lookback() + 63, last - 70}) {
        for (Index end : {last, last - 1, last - 64, first + kernel.lookback() + 5}) {
            if (end < first) continue;
            Request request;
            request.first_index = std::int32_t(first);
            request.last_index = std::int32_t(end);
            for (int k = 0; k < info->input_count(); ++k) request.inputs[k] = series_of(bars, info->inputs[k]).data();
            request.params = params;
            std::vector<std::vector<double>> outputs(info->output_count(), std::vector<double>(bars.size()));
            for (int k = 0; k < info->output_count(); ++k) request.outputs[k] = outputs[k].data();
            std::int32_t begin = -1, count = -1;
            request.out_begin = &begin;
            request.out_count = &count;
            ASSERT_EQ(info->invoke(request), RC_OK);
            const Index start = std::max(first, kernel.lookback());
            ASSERT_EQ(begin, start);
            std::array<const double*, decltype(kernel)::inputs> inputs{};
            for (int k = 0; k < info->input_count(); ++k) inputs[k] = request.inputs[k];
            const auto expected = stepped(kernel, inputs, start - kernel.lookback(), end);
            for (int k = 0; k < info->output_count(); ++k) {
                ASSERT_EQ(expected[k].size(), std::size_t(count));
                EXPECT_TRUE(same_values(expected[k], outputs[k].data(), std::size_t(count)))
                    << c.name << " period " << c.params[0] << " output " << k << " bars " << first << ".." << end;
            }
        }
    }
}

TEST(BlockPath, GivesTheBitsOfTheSteps) {
    const Bars bars = bars_with_flat_stretches(1500, 21);
    const std::vector<BlockCase> variances = {
        {"var", {1, 1}}, {"var", {2, 1}}, {"var", {5, 1}}, {"var", {63, 1}}, {"var", {300, 1}},
        {"stddev", {2, 1}}, {"stddev", {5, 1}}, {"stddev", {20, -2.5}}, {"stddev", {129, 0.5}},
    };
    for (const BlockCase& c : variances) {
        if (c.name[0] == 'v')
            check_against_steps(c, bars, var_kernel);
        else
            check_against_steps(c, bars, stddev_kernel);
    }
    const std::vector<BlockCase> bands = {
        {"bbands", {2, 2, 2, MA_SMA}},  {"bbands", {5, 2, 2, MA_SMA}},   {"bbands", {20, 1.5, -3, MA_SMA}},
        {"bbands", {200, 2, 2, MA_SMA}}, {"bbands", {5, 2, 2, MA_EMA}},  {"bbands", {20, 2, 1, MA_KAMA}},
        {"bbands", {30, 2, 2, MA_T3}},   {"bbands", {9, 2, 2, MA_WMA}},
    };
    for (const BlockCase& c : bands) check_against_steps(c, bars, bbands_kernel);
    for (double period : {2, 3, 7, 8, 9, 14, 16, 17, 100})
        check_against_steps({"cci", {period}}, bars, cci_kernel);
    // Periods in any order, equal, 1 (a window of the bar alone), and a
    // window longer than a block, so that its leaving bars lie in no block
    // the path has measured.
    const std::vector<BlockCase> ultimates = {
        {"ultosc", {7, 14, 28}}, {"ultosc", {28, 7, 14}}, {"ultosc", {1, 1, 1}},
        {"ultosc", {5, 5, 200}}, {"ultosc", {64, 2, 65}},
    };
    for (const BlockCase& c : ultimates) check_against_steps(c, bars, ultosc_kernel);
    // Windows in the routine's frame and on the heap; the window wraps inside
    // blocks and on their edges.
    for (double period : {2, 3, 14, 50, 51, 64, 200})
        check_against_steps({"mfi", {period}}, bars, mfi_kernel);
}

}  // namespace
}  // namespace movlex::test
