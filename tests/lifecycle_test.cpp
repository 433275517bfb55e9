#include <vector>

#include "frame/library_state.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

void expect_all_slots(std::int32_t value) {
    for (int slot = 0; slot < UNSTABLE_SLOT_COUNT; ++slot)
        EXPECT_EQ(library_state->unstable_periods[slot], value) << "slot " << slot;
}

TEST(Lifecycle, InitAndShutdownMoveBetweenStates) {
    LibraryStateGuard loaded(false);
    EXPECT_EQ(MOVLEX_SHUTDOWN(), RC_NOT_INITIALIZED);
    expect_all_slots(0);

    EXPECT_EQ(MOVLEX_INIT(), RC_OK);
    EXPECT_EQ(library_state->magic, STATE_MAGIC);
    EXPECT_EQ(library_state->reserved, 0u);
    expect_all_slots(150);
    EXPECT_EQ(MOVLEX_INIT(), RC_OK);  // again: still initialised, every slot 150
    expect_all_slots(150);

    EXPECT_EQ(MOVLEX_SHUTDOWN(), RC_OK);
    EXPECT_EQ(library_state->magic, 0u);
    expect_all_slots(0);
    EXPECT_EQ(MOVLEX_SHUTDOWN(), RC_NOT_INITIALIZED);
}

TEST(Lifecycle, SimpleAverageIgnoresTheState) {
    const std::vector<double> input = make_series(200);
    std::vector<double> before(200), after(200);
    std::int32_t begin_before = -1, count_before = -1, begin_after = -1, count_after = -1;
    {
        LibraryStateGuard loaded(false);
        ASSERT_EQ(MOVLEX_SMA(0, 199, input.data(), DEFAULT_INT, &begin_before, &count_before, before.data()), RC_OK);
    }
    {
        LibraryStateGuard initialised(true);
        ASSERT_EQ(MOVLEX_SMA(0, 199, input.data(), DEFAULT_INT, &begin_after, &count_after, after.data()), RC_OK);
    }
    EXPECT_EQ(begin_before, 29);
    EXPECT_EQ(begin_after, begin_before);
    EXPECT_EQ(count_after, count_before);
    EXPECT_TRUE(same_values(before.data(), after.data(), std::size_t(count_before)));
}

}  // namespace
}  // namespace movlex::test
