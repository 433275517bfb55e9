// Scratch requests larger than the address space fail cleanly: on 32-bit
// platforms the byte count of 2^29 + 1 doubles does not fit in size_t and must
// not wrap around to a small allocation that the indicator would overrun.
#include <cstdint>

#include "frame/scratch.hpp"
#include "test_support.hpp"

namespace movlex::test {
namespace {

#if SIZE_MAX <= UINT32_MAX
TEST(ScratchArray, RequestBeyondTheAddressSpaceFails) {
    const ScratchArray huge((Index(1) << 29) + 1);
    EXPECT_FALSE(huge);
    const ScratchArray small(1000);
    EXPECT_TRUE(small);
}
#endif

}  // namespace
}  // namespace movlex::test
