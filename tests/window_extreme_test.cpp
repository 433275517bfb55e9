// The window extreme against the rescanning mechanism it replaced, kept here
// as the reference: same value (bit for bit, so +0.0 and -0.0 differ) and same
// bar at every step, over series full of ties, signed zeros, NaNs,
// infinities and long rising and falling runs, at many window lengths.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <span>
#include <vector>

#include "frame/archive.hpp"
#include "frame/window_extreme.hpp"

namespace movlex::test {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double Inf = std::numeric_limits<double>::infinity();

// The former mechanism: the window is rescanned only when the bar holding the
// extreme has left it; otherwise only the newest value is compared, and one
// equal to the extreme replaces it. The rescan starts from the oldest value
// of the window (which stays the extreme when it is a NaN) and applies the
// tie rule.
template <class Direction, RescanTies ties>
class RescanningExtreme {
public:
    double advance(const double* series, Index trailing, Index today) {
        if (index_ < trailing) {
            index_ = trailing;
            value_ = series[trailing];
            for (Index j = trailing + 1; j <= today; ++j)
                if (replaces_in_rescan(series[j])) {
                    value_ = series[j];
                    index_ = j;
                }
        } else if (Direction::beats(series[today], value_) || series[today] == value_) {
            value_ = series[today];
            index_ = today;
        }
        return value_;
    }
    Index index() const { return index_; }

private:
    bool replaces_in_rescan(double candidate) const {
        if constexpr (ties == RescanTies::keep_oldest)
            return Direction::beats(candidate, value_);
        else
            return Direction::beats(candidate, value_) || candidate == value_;
    }

    Index index_ = -1;
    double value_ = 0.0;
};

// Runs of a few values drawn from a small set (ties everywhere), with
// stretches that rise or fall steadily and the occasional special value.
std::vector<double> awkward_series(std::size_t count, std::uint64_t seed, int nan_per_mille) {
    std::mt19937_64 random(seed);
    const double plain[] = {-2.0, -1.0, -0.0, 0.0, 0.0, -0.0, 1.0, 2.0, 3.0};
    const double special[] = {NaN, Inf, -Inf, -0.0, 0.0};
    std::vector<double> series;
    while (series.size() < count) {
        const auto run = std::size_t(1 + random() % 40);
        switch (random() % 4) {
            case 0:  // rising
                for (std::size_t j = 0; j < run; ++j) series.push_back(double(j) * 0.5 - 5.0);
                break;
            case 1:  // falling
                for (std::size_t j = 0; j < run; ++j) series.push_back(5.0 - double(j) * 0.5);
                break;
            default:
                for (std::size_t j = 0; j < run; ++j) series.push_back(plain[random() % std::size(plain)]);
        }
    }
    series.resize(count);
    for (double& value : series)
        if (int(random() % 1000) < nan_per_mille) value = random() % 2 ? NaN : special[random() % std::size(special)];
    return series;
}

// Both starting at bar `start` (the first output).
template <class Direction, RescanTies ties>
void expect_same_as_rescanning(const std::vector<double>& series, Index length, Index start) {
    RescanningExtreme<Direction, ties> reference;
    WindowExtreme<Direction, ties> extreme(length);
    const auto at = [&series](Index j) { return series[std::size_t(j)]; };
    for (Index today = start; today < Index(series.size()); ++today) {
        const double want = reference.advance(series.data(), today - length + 1, today);
        const double got = extreme.advance(at, today);
        ASSERT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want))
            << "bar " << today << ", window " << length << ", from " << start;
        ASSERT_EQ(extreme.index(), reference.index()) << "bar " << today << ", window " << length;
        ASSERT_EQ(std::bit_cast<std::uint64_t>(extreme.value()), std::bit_cast<std::uint64_t>(want));
    }
}

template <class Direction, RescanTies ties>
void compare_all(const std::vector<double>& series, Index length) {
    for (Index start : {length - 1, length + 3, 2 * length + 17})
        expect_same_as_rescanning<Direction, ties>(series, length, start);
}

TEST(WindowExtreme, SameValueAndBarAsRescanningTheWindow) {
    std::uint64_t seed = 0;
    for (int nan_per_mille : {0, 5, 60, 400})
        for (Index length : {1, 2, 3, 4, 5, 7, 8, 9, 14, 16, 17, 31, 64, 100, 128, 129, 257, 513}) {
            const auto series = awkward_series(1500, ++seed, nan_per_mille);
            compare_all<Highest, RescanTies::keep_oldest>(series, length);
            compare_all<Lowest, RescanTies::keep_oldest>(series, length);
            compare_all<Highest, RescanTies::take_newest>(series, length);
            compare_all<Lowest, RescanTies::take_newest>(series, length);
        }
}

TEST(WindowExtreme, SameOnSteadyTrendsAndFlatRuns) {
    std::vector<double> rising(800), falling(800), flat_zeros(800);
    for (std::size_t i = 0; i < rising.size(); ++i) {
        rising[i] = double(i);
        falling[i] = -double(i);
        flat_zeros[i] = i % 3 == 0 ? -0.0 : 0.0;
    }
    for (const auto* series : {&rising, &falling, &flat_zeros})
        for (Index length : {1, 2, 10, 99, 500}) {
            compare_all<Highest, RescanTies::keep_oldest>(*series, length);
            compare_all<Lowest, RescanTies::keep_oldest>(*series, length);
            compare_all<Highest, RescanTies::take_newest>(*series, length);
            compare_all<Lowest, RescanTies::take_newest>(*series, length);
        }
}

// A saved and restored extreme carries on exactly as the original, for a
// short window (no blocks) and a long one; a state with a bar number out of
// range is refused. The layout: the block state (first bar, prefix value and
// bar, prefix end, suffix block and first bar), the chunk count, every
// chunk's suffix bar, then the extreme's bar and value; a short window stores
// no chunks (as saved states of the first format did).
TEST(WindowExtreme, StateRoundTripsAndRejectsABadCount) {
    const auto series = awkward_series(600, 77, 30);
    const auto at = [&series](Index j) { return series[std::size_t(j)]; };
    for (const Index length : {10, 20}) {
        WindowExtreme<Highest> original(length);
        for (Index i = 0; i < 300; ++i) original.advance(at, i);
        std::vector<std::uint8_t> bytes;
        StateWriter writer(bytes);
        writer(original);
        const std::size_t chunks = length > 16 ? std::size_t(length) : 0;  // of one bar each up to 128 bars
        EXPECT_EQ(bytes.size(), 6 * 8 + 4 + chunks * 4 + 2 * 8) << "window " << length;
        WindowExtreme<Highest> restored(length);
        StateReader reader(bytes);
        reader(restored);
        ASSERT_TRUE(reader.ok() && reader.at_end()) << "window " << length;
        for (Index i = 300; i < 600; ++i) {
            const double want = original.advance(at, i);
            ASSERT_EQ(std::bit_cast<std::uint64_t>(restored.advance(at, i)), std::bit_cast<std::uint64_t>(want));
            ASSERT_EQ(restored.index(), original.index());
        }

        // The current block's first bar is stored first: put it beyond the limit.
        std::vector<std::uint8_t> crafted = bytes;
        crafted[7] = 0x7f;
        WindowExtreme<Highest> refused(length);
        StateReader bad(crafted);
        bad(refused);
        EXPECT_FALSE(bad.ok()) << "window " << length;

        // A short window keeps no block state: any but the fresh one it saves
        // is refused, so that whatever restores saves to the same bytes.
        if (length <= 16) {
            std::vector<std::uint8_t> altered = bytes;
            altered[8] ^= 0x01;  // the unused prefix value
            WindowExtreme<Highest> short_window(length);
            StateReader altered_reader(altered);
            altered_reader(short_window);
            EXPECT_FALSE(altered_reader.ok());
        }

        // A state of the other kind of window (with or without suffixes) is refused.
        WindowExtreme<Highest> other(length > 16 ? 10 : 20);
        StateReader mismatched(bytes);
        mismatched(other);
        EXPECT_FALSE(mismatched.ok() && mismatched.at_end()) << "window " << length;
    }
}

}  // namespace
}  // namespace movlex::test
