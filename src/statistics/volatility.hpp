// Historical volatility: the standard deviation of a bar's log return,
// estimated over a window from closes alone or from the bar's open, high,
// low and close, and annualised by a factor (bars per year).
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <utility>

#include "frame/derived_window.hpp"
#include "frame/kernel.hpp"
#include "frame/library_state.hpp"
#include "frame/parameter.hpp"

namespace movlex {

inline constexpr std::array HV_PARAMS{integer_param("period", 20, 2), real_param("factor", 252.0, 0.0)};

// An estimator gives, per bar, two terms (from bar i and, where `gap` is 1,
// the bar before it) and the variance of one bar's return from the window's
// run of those terms.
template <class Estimator>
class VolatilityKernel {
public:
    static constexpr int inputs = Estimator::inputs;
    static constexpr int outputs = 1;
    using Run = typename Estimator::Run;

    VolatilityKernel(std::int32_t period, double factor)
        : period_(period), factor_(factor), estimator_(period), window_(period), warm_up_(Estimator::gap) {}

    Index history() const { return Estimator::gap + 1; }
    Index lookback() const { return Estimator::gap + period_ - 1; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        const auto [a, b] = Estimator::terms(bars, i);
        Run run;
        if (!window_.push(i, a, b, run)) return false;
        out[0] = annualised(run);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const auto [a, b] = Estimator::terms(bars, i);
        out[0] = annualised(window_.next(i, a, b));
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
        archive(warm_up_);
    }

private:
    double annualised(const Run& run) const { return std::sqrt(estimator_.variance(run) * factor_); }

    Index period_;
    double factor_;
    Estimator estimator_;
    DerivedWindow<Run> window_;
    WarmUp warm_up_;
};

// Close to close: r = log(close / previous close); the sample variance of
// the window's returns, (sum of (r - mean)^2) / (n - 1).
struct CloseToClose {
    static constexpr int inputs = 1;
    static constexpr Index gap = 1;
    using Run = Moments;
    explicit CloseToClose(std::int32_t) {}
    template <class Bars>
    static std::pair<double, double> terms(const Bars& bars, Index i) {
        return {log_ratio(bars(0, i), bars(0, i - 1)), 0.0};
    }
    static double variance(const Moments& m) { return m.squares_a / (m.count - 1.0); }
    static double log_ratio(double numerator, double denominator);
};

// The estimators of one term a bar, read from the bar alone: the mean of the
// window's terms, (sum of the terms) / period.
struct MeanOfTerms {
    static constexpr Index gap = 0;
    using Run = Sums;
    explicit MeanOfTerms(std::int32_t period) : count_(period) {}
    double mean(const Sums& s) const { return s.a / count_; }
    double count_;
};

// Parkinson: (mean of log(high / low)^2) / (4 log 2).
struct Parkinson : MeanOfTerms {
    static constexpr int inputs = 2;
    using MeanOfTerms::MeanOfTerms;
    template <class Bars>
    static std::pair<double, double> terms(const Bars& bars, Index i) {
        const double range = CloseToClose::log_ratio(bars(0, i), bars(1, i));
        return {range * range, 0.0};
    }
    double variance(const Sums& s) const { return mean(s) / FOUR_LOG_2; }
    static constexpr double FOUR_LOG_2 = 2.772588722239781;  // 4 log 2
};

// Garman and Klass: mean of 0.5 log(high / low)^2 - (2 log 2 - 1) log(close / open)^2.
struct GarmanKlass : MeanOfTerms {
    static constexpr int inputs = 4;
    using MeanOfTerms::MeanOfTerms;
    template <class Bars>
    static std::pair<double, double> terms(const Bars& bars, Index i) {
        const double range = CloseToClose::log_ratio(bars(1, i), bars(2, i));
        const double body = CloseToClose::log_ratio(bars(3, i), bars(0, i));
        return {0.5 * (range * range) - TWO_LOG_2_LESS_1 * (body * body), 0.0};
    }
    double variance(const Sums& s) const { return mean(s); }
    static constexpr double TWO_LOG_2_LESS_1 = 0.3862943611198906;  // 2 log 2 - 1
};

// Rogers and Satchell: log(high / close) log(high / open) + log(low / close) log(low / open).
double rogers_satchell_term(double open, double high, double low, double close);

struct RogersSatchell : MeanOfTerms {
    static constexpr int inputs = 4;
    using MeanOfTerms::MeanOfTerms;
    template <class Bars>
    static std::pair<double, double> terms(const Bars& bars, Index i) {
        return {rogers_satchell_term(bars(0, i), bars(1, i), bars(2, i), bars(3, i)), 0.0};
    }
    double variance(const Sums& s) const { return mean(s); }
};

// Yang and Zhang: the sample variances of the overnight return
// o = log(open / previous close) and of the open-to-close return
// c = log(close / open), and the mean Rogers-Satchell term, as
// V_o + k V_c + (1 - k) V_rs with k = 0.34 / (1.34 + (n + 1) / (n - 1)).
class YangZhang {
public:
    explicit YangZhang(std::int32_t period);
    // From the moments of a = o, b = c and the sum of the Rogers-Satchell terms.
    double variance(const Moments& m, double rogers_satchell_sum) const;

private:
    double count_;
    double weight_;
};

// Yang-Zhang reads three window statistics: the moments of o and c and the
// sum of the Rogers-Satchell terms.
class YangZhangKernel {
public:
    static constexpr int inputs = 4;
    static constexpr int outputs = 1;

    YangZhangKernel(std::int32_t period, double factor)
        : period_(period), factor_(factor), estimator_(period), returns_(period), ranges_(period), warm_up_(1) {}

    Index history() const { return 2; }
    Index lookback() const { return period_; }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        if (warm_up_.consume()) return false;
        const auto [o, c, rs] = terms(bars, i);
        Moments moments;
        Sums sums;
        ranges_.push(i, rs, 0.0, sums);
        if (!returns_.push(i, o, c, moments)) return false;
        out[0] = annualised(moments, sums);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        const auto [o, c, rs] = terms(bars, i);
        const Sums sums = ranges_.next(i, rs, 0.0);
        out[0] = annualised(returns_.next(i, o, c), sums);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(returns_);
        archive(ranges_);
        archive(warm_up_);
    }

private:
    template <class Bars>
    static std::array<double, 3> terms(const Bars& bars, Index i) {
        const double open = bars(0, i), high = bars(1, i), low = bars(2, i), close = bars(3, i);
        return {CloseToClose::log_ratio(open, bars(3, i - 1)), CloseToClose::log_ratio(close, open),
                rogers_satchell_term(open, high, low, close)};
    }
    double annualised(const Moments& m, const Sums& s) const {
        return std::sqrt(estimator_.variance(m, s.a) * factor_);
    }

    Index period_;
    double factor_;
    YangZhang estimator_;
    DerivedWindow<Moments> returns_;
    DerivedWindow<Sums> ranges_;
    WarmUp warm_up_;
};

VolatilityKernel<CloseToClose> hv_close_kernel(const double* params, const UnstablePeriods& unstable);
VolatilityKernel<Parkinson> hv_parkinson_kernel(const double* params, const UnstablePeriods& unstable);
VolatilityKernel<GarmanKlass> hv_garman_klass_kernel(const double* params, const UnstablePeriods& unstable);
VolatilityKernel<RogersSatchell> hv_rogers_satchell_kernel(const double* params, const UnstablePeriods& unstable);
YangZhangKernel hv_yang_zhang_kernel(const double* params, const UnstablePeriods& unstable);

}  // namespace movlex
