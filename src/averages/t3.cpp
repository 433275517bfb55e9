// T3 runs six exponential averages of one period in a cascade, e1 of the
// price up to e6 of e5, and outputs c1 * e6 + c2 * e5 + c3 * e4 + c4 * e3
// with coefficients from the volume factor v (they add up to 1). Each stage is
// seeded with the plain mean of the first `period` values it receives, so the
// seeds take period + 5 * (period - 1) input values; after them every value
// costs six updates.
#include "averages/t3.hpp"

#include <algorithm>

#include "frame/contract.hpp"
#include "frame/library_state.hpp"

namespace movlex {

namespace {

constexpr int STAGES = 6;

Index t3_lookback_of(std::int32_t period) { return STAGES * (Index(period) - 1) + unstable_period(UNSTABLE_T3); }

struct Coefficients {
    double c1, c2, c3, c4;  // weights of e6, e5, e4, e3
};

Coefficients coefficients(double v) {
    const double v2 = v * v;
    Coefficients c;
    c.c1 = -(v2 * v);
    c.c2 = (v2 - c.c1) * 3.0;
    c.c3 = v2 * (-6.0) - (v - c.c1) * 3.0;
    c.c4 = ((v * 3.0 + 1.0) - c.c1) + v2 * 3.0;
    return c;
}

class Cascade {
public:
    explicit Cascade(std::int32_t period) : k_(2.0 / (period + 1.0)), k1_(1.0 - k_) {}

    // Runs one price value through the first `count` stages, e1 first.
    void update(double price, int count) {
        double value = price;
        for (int s = 0; s < count; ++s) {
            e_[s] = k_ * value + k1_ * e_[s];
            value = e_[s];
        }
    }

    void set(int stage, double value) { e_[stage] = value; }
    double stage(int s) const { return e_[s]; }

    double combine(const Coefficients& c) const {
        return ((c.c1 * e_[5] + c.c2 * e_[4]) + c.c3 * e_[3]) + c.c4 * e_[2];
    }

private:
    double k_, k1_;
    double e_[STAGES] = {};
};

}  // namespace

std::int32_t t3_lookback(std::int32_t period, double volume_factor) {
    if (!resolve(T3_PARAMS, period, volume_factor)) return -1;
    return static_cast<std::int32_t>(t3_lookback_of(period));
}

RetCode t3_compute(std::int32_t first_index, std::int32_t last_index, const double* input, std::int32_t period,
                   double volume_factor, std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(input)
                           .params(T3_PARAMS, period, volume_factor)
                           .outputs(out)
                           .result();
    if (rc != RC_OK) return rc;

    const Index lookback = t3_lookback_of(period);
    const Index start = std::max<Index>(first_index, lookback);
    if (start > last_index) return no_output(out_begin, out_count);
    *out_begin = static_cast<std::int32_t>(start);

    Index today = start - lookback;
    const double divisor = static_cast<double>(period);
    Cascade cascade(period);

    double sum = 0.0;
    for (std::int32_t n = 0; n < period; ++n) sum += input[today++];
    cascade.set(0, sum / divisor);
    // Seed of stage s: the mean of the newest stage's value and of the
    // period - 1 values it takes next, while all seeded stages run on.
    for (int s = 1; s < STAGES; ++s) {
        sum = cascade.stage(s - 1);
        for (std::int32_t n = 1; n < period; ++n) {
            cascade.update(input[today++], s);
            sum += cascade.stage(s - 1);
        }
        cascade.set(s, sum / divisor);
    }

    while (today <= start) cascade.update(input[today++], STAGES);  // the unstable stretch
    const Coefficients c = coefficients(volume_factor);
    out[0] = cascade.combine(c);
    Index k = 1;
    while (today <= last_index) {
        cascade.update(input[today++], STAGES);
        out[k++] = cascade.combine(c);
    }
    return report_output(out_begin, out_count, start, last_index);
}

}  // namespace movlex
