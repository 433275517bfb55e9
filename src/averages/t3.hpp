// T3 moving average.
#pragma once

#include <array>
#include <cstdint>

#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"
#include "movlex.h"

namespace movlex {

inline constexpr std::array T3_PARAMS{integer_param("period", 5, 2), real_param("volume_factor", 0.7, 0.0, 1.0)};

// Six exponential stages of one period in a cascade, e1 of the price up to e6
// of e5, combined as c1 e6 + c2 e5 + c3 e4 + c4 e3. Stage s is seeded with
// the mean of the first `period` values it receives: the value stage s - 1
// had when it was seeded and the period - 1 values it takes next, while all
// seeded stages run on.
class T3Kernel {
public:
    static constexpr int inputs = 1;
    static constexpr int outputs = 1;
    static constexpr int STAGES = 6;

    T3Kernel(std::int32_t period, double volume_factor, std::int32_t unstable);

    Index history() const { return 1; }
    Index lookback() const { return STAGES * (period_ - 1) + unstable_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        const double price = bars(0, i);
        if (seeded_ < STAGES) {
            seed(price);
        } else {
            update(price, STAGES);
        }
        if (warm_up_.consume()) return false;
        out[0] = combine();
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        update(bars(0, i), STAGES);
        out[0] = combine();
    }

    template <class Archive>
    void visit(Archive& archive) {
        for (double& e : e_) archive(e);
        archive(sum_);
        archive.bounded(seeded_, 0, STAGES);
        archive.bounded(taken_, 0, period_);
        archive(warm_up_);
    }

private:
    // One value towards the seed of the first stage not yet seeded.
    void seed(double price) {
        if (seeded_ == 0) {
            sum_ += price;
        } else {
            update(price, std::int32_t(seeded_));
            sum_ += e_[seeded_ - 1];
        }
        if (++taken_ < (seeded_ == 0 ? period_ : period_ - 1)) return;
        e_[seeded_] = sum_ / static_cast<double>(period_);
        sum_ = e_[seeded_];
        ++seeded_;
        taken_ = 0;
    }

    // Runs one price value through the first `count` stages, e1 first.
    void update(double price, std::int32_t count) {
        double value = price;
        for (std::int32_t s = 0; s < count; ++s) {
            e_[s] = k_ * value + k1_ * e_[s];
            value = e_[s];
        }
    }

    double combine() const { return ((c1_ * e_[5] + c2_ * e_[4]) + c3_ * e_[3]) + c4_ * e_[2]; }

    Index period_;
    Index unstable_;
    double k_, k1_;
    double c1_, c2_, c3_, c4_;  // weights of e6, e5, e4, e3
    double e_[STAGES] = {};
    double sum_ = 0.0;
    Index seeded_ = 0;  // stages seeded so far
    Index taken_ = 0;   // values taken towards the next seed
    WarmUp warm_up_;
};

T3Kernel t3_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
