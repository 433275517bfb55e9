// Scratch arrays: heap storage obtained and released within one indicator
// call. Every allocation goes through scratch_allocate so that tests can make
// any one of them fail; that includes the storage a kernel keeps for itself
// (rings, block arrays: ScratchVector), which a stream holds for its life.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "frame/contract.hpp"

namespace movlex {

// malloc, unless the calling thread asked for this allocation to fail.
void* scratch_allocate(std::size_t bytes);

// An array of `count` doubles, freed when it goes out of scope; data() is
// null when the allocation failed.
class ScratchArray {
public:
    explicit ScratchArray(Index count) : data_(static_cast<double*>(scratch_allocate(bytes_for(count)))) {}
    ~ScratchArray() { std::free(data_); }
    ScratchArray(const ScratchArray&) = delete;
    ScratchArray& operator=(const ScratchArray&) = delete;

    double* data() const { return data_; }
    explicit operator bool() const { return data_ != nullptr; }

private:
    // Where the byte count does not fit in size_t (32-bit platforms), asks for
    // SIZE_MAX bytes, which fails, instead of a wrapped-around smaller size.
    static std::size_t bytes_for(Index count) {
        const Index elements = count > 0 ? count : 1;
        if (static_cast<std::uint64_t>(elements) > SIZE_MAX / sizeof(double)) return SIZE_MAX;
        return static_cast<std::size_t>(elements) * sizeof(double);
    }

    double* data_;
};

// A standard allocator over scratch_allocate for the containers a kernel
// keeps; a failed allocation throws std::bad_alloc, which the batch entries
// report as RC_NO_MEMORY (guard_allocation) and the stream interface too.
template <class T>
struct ScratchAllocator {
    using value_type = T;

    ScratchAllocator() = default;
    template <class U>
    ScratchAllocator(const ScratchAllocator<U>&) noexcept {}

    T* allocate(std::size_t count) {
        if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
        void* storage = scratch_allocate(count * sizeof(T));
        if (storage == nullptr) throw std::bad_alloc();
        return static_cast<T*>(storage);
    }
    void deallocate(T* storage, std::size_t) noexcept { std::free(storage); }

    template <class U>
    bool operator==(const ScratchAllocator<U>&) const noexcept {
        return true;
    }
};

template <class T>
using ScratchVector = std::vector<T, ScratchAllocator<T>>;

namespace testing {
// Makes the allocation number `index` (0 = the next one) on the calling thread
// fail; a negative index turns failures off.
void fail_scratch_allocation(int index);
// Number of scratch allocations attempted on the calling thread so far.
int scratch_allocations_attempted();
}  // namespace testing

}  // namespace movlex
