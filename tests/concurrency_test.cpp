// Every indicator of the table on several threads at once, each over its own
// data; each result must equal the one computed alone. Run under
// ThreadSanitizer to show that the calls share no mutable state.
#include <array>
#include <thread>
#include <vector>

#include "api/indicator_table.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr int THREADS = 4;
constexpr std::size_t BARS = 600;

struct Result {
    RetCode rc = -1;
    std::int32_t begin = -1, count = -1;
    std::array<std::vector<double>, MAX_OUTPUTS> outputs;
};

Result run(const IndicatorInfo& info, const Bars& bars) {
    Result result;
    Request request;
    request.first_index = 0;
    request.last_index = std::int32_t(BARS - 1);
    for (int i = 0; i < info.input_count(); ++i) request.inputs[i] = named_series(bars, info.inputs[i]).data();
    for (int p = 0; p < info.param_count(); ++p) request.params[p] = info.params[p].default_value;
    for (int o = 0; o < info.output_count(); ++o) {
        result.outputs[o].assign(BARS, 0.0);
        request.outputs[o] = result.outputs[o].data();
    }
    request.out_begin = &result.begin;
    request.out_count = &result.count;
    result.rc = info.invoke(request);
    return result;
}

TEST(Concurrency, EveryIndicatorOnSeveralThreadsGivesTheSingleThreadedResult) {
    LibraryStateGuard initialised(true);
    std::vector<Bars> data;
    for (int t = 0; t < THREADS; ++t) data.push_back(make_bars(BARS, 100 + t));

    const auto table = indicator_table();
    std::vector<std::vector<Result>> alone(THREADS);
    for (int t = 0; t < THREADS; ++t)
        for (const IndicatorInfo& info : table) alone[t].push_back(run(info, data[t]));

    std::vector<std::vector<Result>> together(THREADS);
    std::vector<std::thread> threads;
    for (int t = 0; t < THREADS; ++t)
        threads.emplace_back([&, t] {
            for (int round = 0; round < 3; ++round) {
                together[t].clear();
                for (const IndicatorInfo& info : table) together[t].push_back(run(info, data[t]));
            }
        });
    for (std::thread& thread : threads) thread.join();

    for (int t = 0; t < THREADS; ++t)
        for (std::size_t i = 0; i < table.size(); ++i) {
            const Result& expected = alone[t][i];
            const Result& actual = together[t][i];
            ASSERT_EQ(expected.rc, RC_OK) << table[i].name;
            EXPECT_EQ(actual.rc, expected.rc) << table[i].name;
            EXPECT_EQ(actual.begin, expected.begin) << table[i].name;
            ASSERT_EQ(actual.count, expected.count) << table[i].name;
            for (int o = 0; o < table[i].output_count(); ++o)
                EXPECT_TRUE(same_values(expected.outputs[o].data(), actual.outputs[o].data(),
                                        std::size_t(expected.count)))
                    << table[i].name << " thread " << t;
        }
}

}  // namespace
}  // namespace movlex::test
