// Every indicator of the table, in configurations that reach each of its
// allocating paths (the defaults, MAMA through every average type parameter,
// windows that leave the frame storage), with each of its scratch allocations
// failing in turn. A failed allocation is never reported as success; under
// LeakSanitizer nothing it had obtained before is leaked.
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

constexpr std::size_t BARS = 400;

std::vector<std::array<double, MAX_PARAMS>> configurations(const IndicatorInfo& info) {
    std::array<double, MAX_PARAMS> defaults{};
    for (int p = 0; p < info.param_count(); ++p) defaults[p] = info.params[p].default_value;
    std::vector<std::array<double, MAX_PARAMS>> result = {defaults};
    for (int p = 0; p < info.param_count(); ++p) {
        if (info.params[p].kind == ParamKind::ma_type) {
            result.push_back(defaults);
            result.back()[p] = MA_MAMA;
        } else if (info.params[p].kind == ParamKind::integer && std::string(info.params[p].name) == "period") {
            for (double period : {31.0, 51.0}) {
                result.push_back(defaults);
                result.back()[p] = period;
            }
        }
    }
    return result;
}

TEST(AllocationSweep, NoFailedAllocationIsReportedAsSuccess) {
    const Bars bars = make_bars(BARS, 41);
    int paths = 0;
    for (const IndicatorInfo& info : indicator_table()) {
        for (const auto& params : configurations(info)) {
            std::vector<std::vector<double>> outputs(std::size_t(info.output_count()), std::vector<double>(BARS));
            std::int32_t begin = -1, count = -1;
            Request request;
            request.first_index = 0;
            request.last_index = std::int32_t(BARS - 1);
            for (int i = 0; i < info.input_count(); ++i) request.inputs[i] = named_series(bars, info.inputs[i]).data();
            request.params = params;
            for (int o = 0; o < info.output_count(); ++o) request.outputs[o] = outputs[std::size_t(o)].data();
            request.out_begin = &begin;
            request.out_count = &count;

            const int before = testing::scratch_allocations_attempted();
            ASSERT_EQ(info.invoke(request), RC_OK) << info.name;
            const int allocations = testing::scratch_allocations_attempted() - before;
            for (int failing = 0; failing < allocations; ++failing) {
                testing::fail_scratch_allocation(failing);
                const RetCode rc = info.invoke(request);
                testing::fail_scratch_allocation(-1);
                EXPECT_TRUE(rc == RC_NO_MEMORY || rc == RC_BAD_ARGUMENT)
                    << info.name << ": allocation " << failing << " failed, code " << rc;
                ++paths;
            }
        }
    }
    EXPECT_GT(paths, 0);
}

}  // namespace
}  // namespace movlex::test
