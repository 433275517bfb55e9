// Sums and moments of a sliding window of two series (their means, sums of
// squared deviations and sum of products of deviations) that stay as accurate
// as the window's own values allow, however long the series and however far
// from its first bar: no value is ever subtracted out of a sum.
//
// The window is kept as two runs (the "two stacks" of a sliding aggregate):
// an older run, whose moments from every bar to its end were computed when
// the run was formed, and a newer run, whose moments grow bar by bar. The
// window's moments are those of the older run from its first bar still in
// the window, combined with the newer run's. When the newer run holds a
// whole window it becomes the older run: its moments from each bar to its
// end are computed afresh from the values (once every `length` bars, so the
// work per bar stays constant).
//
// A run of moments takes its values relative to the values of both series at the bar the older
// run was formed (a bar always in the windows that use it), so that the
// moments are of small numbers near the window's data wherever the series
// lies: a level of 10,000 with a tick of 0.0001 loses nothing to the level.
// A value that has left the window is in no run that is used, so it leaves
// no trace, however large it was.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "frame/kernel.hpp"
#include "frame/scratch.hpp"

namespace movlex {

// The moments of a run of bars of two series a and b.
struct Moments {
    static constexpr bool relative = true;  // values enter less the shifts

    double count = 0.0;
    double mean_a = 0.0;
    double mean_b = 0.0;
    double squares_a = 0.0;  // sum of (a - mean_a)^2
    double squares_b = 0.0;  // sum of (b - mean_b)^2
    double products = 0.0;   // sum of (a - mean_a) * (b - mean_b)

    static constexpr std::size_t FIELDS = 6;
    void store(double* at) const {
        at[0] = count;
        at[1] = mean_a;
        at[2] = mean_b;
        at[3] = squares_a;
        at[4] = squares_b;
        at[5] = products;
    }
    static Moments load(const double* at) { return Moments{at[0], at[1], at[2], at[3], at[4], at[5]}; }

    // One more bar (B. P. Welford, Technometrics 4(3), 1962, the update of
    // the sums of products as in its two-series form).
    void add(double a, double b) {
        count += 1.0;
        const double to_a = a - mean_a;
        const double to_b = b - mean_b;
        mean_a += to_a / count;
        mean_b += to_b / count;
        const double from_b = b - mean_b;
        squares_a += to_a * (a - mean_a);
        squares_b += to_b * from_b;
        products += to_a * from_b;
    }
};

// The moments of two adjacent runs as one (T. F. Chan, G. H. Golub and
// R. J. LeVeque, "Updating Formulae and a Pairwise Algorithm for Computing
// Sample Variances", 1979).
inline Moments combined(const Moments& older, const Moments& newer) {
    Moments m{};
    m.count = older.count + newer.count;
    const double apart_a = newer.mean_a - older.mean_a;
    const double apart_b = newer.mean_b - older.mean_b;
    const double share = newer.count / m.count;
    const double weight = older.count * share;
    m.mean_a = older.mean_a + apart_a * share;
    m.mean_b = older.mean_b + apart_b * share;
    m.squares_a = (older.squares_a + newer.squares_a) + (apart_a * apart_a) * weight;
    m.squares_b = (older.squares_b + newer.squares_b) + (apart_b * apart_b) * weight;
    m.products = (older.products + newer.products) + (apart_a * apart_b) * weight;
    return m;
}

// The plain sums of a run of bars of two series.
struct Sums {
    static constexpr bool relative = false;
    double a = 0.0;
    double b = 0.0;

    static constexpr std::size_t FIELDS = 2;
    void store(double* at) const {
        at[0] = a;
        at[1] = b;
    }
    static Sums load(const double* at) { return Sums{at[0], at[1]}; }
    void add(double value_a, double value_b) {
        a += value_a;
        b += value_b;
    }
};

inline Sums combined(const Sums& older, const Sums& newer) { return Sums{older.a + newer.a, older.b + newer.b}; }

// Run is Moments or Sums: add(a, b), combined(older, newer), FIELDS, store()
// and load().
template <class Run>
class SlidingRuns {
public:
    SlidingRuns() = default;
    explicit SlidingRuns(Index length)
        : length_(length), suffixes_(std::size_t(length) * Run::FIELDS), fill_(length - 1), warm_up_(length - 1) {}

    Index history() const { return length_; }
    Index lookback() const { return length_ - 1; }

    // Consumes bar i (pair(j) gives the two series' values at bar j, for the
    // last `length` bars up to i); once the window is full sets `moments`
    // (of the values less shift_a() and shift_b() where Run is relative) and
    // returns true.
    template <class Pair>
    bool step(Index i, const Pair& pair, Run& moments) {
        if (warm_up_.consume()) return false;
        moments = next(i, pair);
        return true;
    }

    template <class Pair>
    Run next(Index i, const Pair& pair) {
        if (fill_ + 1 == length_) {
            form_older_run(i, pair);
            return suffix(0);
        }
        ++fill_;
        const auto [a, b] = pair(i);
        newer_.add(a - shift_a_, b - shift_b_);
        return combined(suffix(fill_), newer_);
    }

    double shift_a() const { return shift_a_; }
    double shift_b() const { return shift_b_; }

    template <class Archive>
    void visit(Archive& archive) {
        archive(suffixes_);
        std::array<double, Run::FIELDS> newer;
        newer_.store(newer.data());
        for (double& field : newer) archive(field);
        newer_ = Run::load(newer.data());
        archive(shift_a_);
        archive(shift_b_);
        archive.bounded(fill_, 0, length_ - 1);
        archive(warm_up_);
    }

private:
    // The last `length` bars become the older run, relative to bar i.
    template <class Pair>
    void form_older_run(Index i, const Pair& pair) {
        if constexpr (Run::relative) {
            const auto [a, b] = pair(i);
            shift_a_ = a;
            shift_b_ = b;
        }
        Run run{};
        for (Index k = length_ - 1; k >= 0; --k) {
            const auto [a_k, b_k] = pair(i - (length_ - 1) + k);
            run.add(a_k - shift_a_, b_k - shift_b_);
            run.store(&suffixes_[std::size_t(k) * Run::FIELDS]);
        }
        newer_ = Run{};
        fill_ = 0;
    }

    Run suffix(Index k) const { return Run::load(&suffixes_[std::size_t(k) * Run::FIELDS]); }

    Index length_ = 1;
    ScratchVector<double> suffixes_;  // the older run's moments from bar k to its end
    Run newer_{};
    double shift_a_ = 0.0;
    double shift_b_ = 0.0;
    Index fill_ = 0;  // bars in the newer run
    WarmUp warm_up_;
};

using WindowMoments = SlidingRuns<Moments>;
using WindowSums = SlidingRuns<Sums>;

// A kernel giving what Reading reads from the window's runs. Reading has
// `Run` (Moments or Sums), `inputs`, `outputs`, a constructor from the
// period, `static pair(bars, j)` (the two series' values at bar j) and
// `write(run, window, i, bars, out)`.
template <class Reading>
class WindowRunsKernel {
public:
    static constexpr int inputs = Reading::inputs;
    static constexpr int outputs = Reading::outputs;
    using Run = typename Reading::Run;

    explicit WindowRunsKernel(std::int32_t period) : window_(period), reading_(period) {}

    Index history() const { return window_.history(); }
    Index lookback() const { return window_.lookback(); }

    template <class Bars>
    bool step(const Bars& bars, Index i, double* out) {
        Run run;
        if (!window_.step(i, pair_of(bars), run)) return false;
        reading_.write(run, window_, i, bars, out);
        return true;
    }

    template <class Bars>
    void steady(const Bars& bars, Index i, double* out) {
        reading_.write(window_.next(i, pair_of(bars)), window_, i, bars, out);
    }

    template <class Archive>
    void visit(Archive& archive) {
        archive(window_);
    }

private:
    template <class Bars>
    static auto pair_of(const Bars& bars) {
        return [&bars](Index j) { return Reading::pair(bars, j); };
    }

    SlidingRuns<Run> window_;
    Reading reading_;
};

}  // namespace movlex
