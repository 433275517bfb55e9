// Scratch for a window that is usually short: up to Capacity doubles live in
// the routine's own frame, so short windows cost no heap traffic; longer ones
// come from the heap through ScratchArray (and so can be made to fail in
// tests). Check the buffer with operator bool before using it.
#pragma once

#include <cstddef>
#include <optional>

#include "frame/contract.hpp"
#include "frame/scratch.hpp"

namespace movlex {

template <std::size_t Capacity>
class LocalBuffer {
public:
    explicit LocalBuffer(Index count) {
        if (count > static_cast<Index>(Capacity)) heap_.emplace(count);
    }
    LocalBuffer(const LocalBuffer&) = delete;
    LocalBuffer& operator=(const LocalBuffer&) = delete;

    double* data() { return heap_ ? heap_->data() : frame_; }
    explicit operator bool() const { return !heap_ || static_cast<bool>(*heap_); }

private:
    double frame_[Capacity];
    std::optional<ScratchArray> heap_;
};

}  // namespace movlex
