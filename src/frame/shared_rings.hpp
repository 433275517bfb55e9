// The rings of several series a kernel derives itself, kept in one block: up
// to 64 values per series inside the object, and beyond that one heap block
// for all of them (scratch_allocate, which throws std::bad_alloc when it
// cannot be had), so that a kernel with several long rings allocates once.
//
// Series k keeps its last `history` values in a ring whose length is a power
// of two at least that long; a history of 0 keeps none. Each ring is saved as
// a LocalVector of its length is (its length, then its elements), so a kernel
// that moves its rings here keeps its saved state.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "frame/contract.hpp"
#include "frame/local_buffer.hpp"

namespace movlex {

template <int N>
class SharedRings {
public:
    // A view of series k as the only input of a stage: bars(0, i).
    struct Series {
        const double* values;
        Index mask;
        double operator()(int, Index i) const { return values[i & mask]; }
    };

    SharedRings() = default;
    explicit SharedRings(const std::array<Index, N>& histories) {
        std::size_t total = 0;
        for (int k = 0; k < N; ++k) {
            std::size_t length = 0;
            if (histories[k] > 0) {
                length = 1;
                while (Index(length) < histories[k]) length *= 2;
            }
            offsets_[k] = total;
            lengths_[k] = length;
            total += length;
        }
        values_.assign(total, 0.0);
    }

    void put(int k, Index i, double value) { values_[offsets_[k] + slot(k, i)] = value; }
    Series series(int k) const { return {values_.data() + offsets_[k], Index(lengths_[k]) - 1}; }

    template <class Archive>
    void visit_series(Archive& archive, int k) {
        std::int32_t count = std::int32_t(lengths_[k]);
        archive.bounded(count, count, count);
        for (std::size_t j = 0; j < lengths_[k]; ++j) archive(values_[offsets_[k] + j]);
    }

private:
    std::size_t slot(int k, Index i) const { return std::size_t(i) & (lengths_[k] - 1); }

    static constexpr std::size_t LOCAL_VALUES_PER_SERIES = 64;
    LocalVector<double, LOCAL_VALUES_PER_SERIES * std::size_t(N)> values_;
    std::array<std::size_t, N> offsets_{};
    std::array<std::size_t, N> lengths_{};
};

}  // namespace movlex
