// Storage for values a kernel keeps itself because it cannot read them back
// from the bars (a window of derived values in its own slot order). A batch
// call lends the kernel its scratch for the length of the call; a stream's
// kernel owns its storage, which is copied with it and saved with its state.
#pragma once

#include <cstddef>
#include <vector>

#include "frame/contract.hpp"

namespace movlex {

// The caller's array, at least as long as the kernel's window.
class LentWindow {
public:
    explicit LentWindow(double* values) : values_(values) {}
    double& operator[](Index slot) { return values_[slot]; }
    double operator[](Index slot) const { return values_[slot]; }

private:
    double* values_;
};

class OwnedWindow {
public:
    explicit OwnedWindow(Index size) : values_(std::size_t(size), 0.0) {}
    double& operator[](Index slot) { return values_[std::size_t(slot)]; }
    double operator[](Index slot) const { return values_[std::size_t(slot)]; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(values_);
    }

private:
    std::vector<double> values_;
};

}  // namespace movlex
