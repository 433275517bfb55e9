// Storage for data that is usually small, kept in the object's own bytes so
// that short windows, rings and block states cost no heap traffic (and so no
// allocation that could fail); larger ones come from the heap through
// scratch_allocate, so that tests can make them fail.
//
// LocalBuffer: scratch of one call, up to Capacity doubles in the routine's
// own frame. Check it with operator bool before using it.
// LocalVector: a kernel's own array (a ring, a table), up to Capacity
// elements inside the kernel, copied with it; a larger one is taken from the
// heap, which throws std::bad_alloc when it cannot be had.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <type_traits>
#include <utility>

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

template <class T, std::size_t Capacity>
class LocalVector {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    LocalVector() = default;
    LocalVector(std::size_t count, const T& value) { assign(count, value); }
    LocalVector(const LocalVector& other) { copy_from(other); }
    LocalVector(LocalVector&& other) noexcept {
        if (other.data_ != other.local_) {
            data_ = std::exchange(other.data_, other.local_);
            size_ = std::exchange(other.size_, 0);
        } else {
            copy_from(other);  // within the local bytes: cannot fail
        }
    }
    LocalVector& operator=(LocalVector other) noexcept {
        release();
        new (this) LocalVector(std::move(other));
        return *this;
    }
    ~LocalVector() { release(); }

    // `count` copies of `value` (may throw std::bad_alloc).
    void assign(std::size_t count, const T& value) {
        reserve_exactly(count);
        std::fill(data_, data_ + count, value);
    }

    T* data() { return data_; }
    const T* data() const { return data_; }
    std::size_t size() const { return size_; }
    T& operator[](std::size_t k) { return data_[k]; }
    const T& operator[](std::size_t k) const { return data_[k]; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }

    // Saved as a vector of the same length is (its length, then its
    // elements); restoring keeps the length its parameters gave it.
    template <class Archive>
    void visit(Archive& archive) {
        std::int32_t count = std::int32_t(size_);
        archive.bounded(count, count, count);
        for (T& element : *this) archive(element);
    }

private:
    void reserve_exactly(std::size_t count) {
        release();
        if (count > Capacity) {
            if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
            void* storage = scratch_allocate(count * sizeof(T));
            if (storage == nullptr) throw std::bad_alloc();
            data_ = static_cast<T*>(storage);
        }
        size_ = count;
    }
    void copy_from(const LocalVector& other) {
        reserve_exactly(other.size_);
        if (other.size_ > 0) std::memcpy(data_, other.data_, other.size_ * sizeof(T));
    }
    void release() noexcept {
        if (data_ != local_) std::free(data_);
        data_ = local_;
        size_ = 0;
    }

    T* data_ = local_;
    std::size_t size_ = 0;
    T local_[Capacity];
};

}  // namespace movlex
