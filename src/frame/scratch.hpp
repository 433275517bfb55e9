// Scratch arrays: heap storage obtained and released within one indicator
// call. Every allocation goes through scratch_allocate so that tests can make
// any one of them fail.
#pragma once

#include <cstddef>
#include <cstdlib>

#include "frame/contract.hpp"

namespace movlex {

// malloc, unless the calling thread asked for this allocation to fail.
void* scratch_allocate(std::size_t bytes);

// An array of `count` doubles, freed when it goes out of scope; data() is
// null when the allocation failed.
class ScratchArray {
public:
    explicit ScratchArray(Index count)
        : data_(static_cast<double*>(scratch_allocate(static_cast<std::size_t>(count > 0 ? count : 1) * sizeof(double)))) {}
    ~ScratchArray() { std::free(data_); }
    ScratchArray(const ScratchArray&) = delete;
    ScratchArray& operator=(const ScratchArray&) = delete;

    double* data() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    double* data_;
};

namespace testing {
// Makes the allocation number `index` (0 = the next one) on the calling thread
// fail; a negative index turns failures off.
void fail_scratch_allocation(int index);
// Number of scratch allocations attempted on the calling thread so far.
int scratch_allocations_attempted();
}  // namespace testing

}  // namespace movlex
