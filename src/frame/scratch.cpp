#include "frame/scratch.hpp"

namespace movlex {

namespace {
thread_local int allocations_attempted = 0;
thread_local int failing_allocation = -1;
}  // namespace

void* scratch_allocate(std::size_t bytes) {
    const int number = allocations_attempted++;
    if (failing_allocation >= 0 && number == failing_allocation) return nullptr;
    return std::malloc(bytes);
}

namespace testing {
void fail_scratch_allocation(int index) { failing_allocation = index < 0 ? -1 : allocations_attempted + index; }
int scratch_allocations_attempted() { return allocations_attempted; }
}  // namespace testing

}  // namespace movlex
