// Writes the bundled sample, data/sample.csv: SYNTHETIC daily OHLCV bars, not
// market data. A random walk in whole cents with a slowly drifting trend and
// volatility, weekdays only from 2012-01-02 on. Everything is integer
// arithmetic on a fixed-seed generator, so every machine writes the same
// bytes:
//
//   movlex_make_sample > data/sample.csv        (3000 bars)
//   movlex_make_sample 500                      (another count)
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <system_error>

namespace {

// 64-bit linear congruential generator; the high bits are the output.
class Generator {
public:
    explicit Generator(std::uint64_t seed) : state_(seed) {}
    // Uniform in low .. high, both inclusive (the bias is irrelevant here).
    std::int64_t between(std::int64_t low, std::int64_t high) {
        state_ = state_ * 6364136223846793005ull + 1442695040888963407ull;
        return low + std::int64_t((state_ >> 33) % std::uint64_t(high - low + 1));
    }

private:
    std::uint64_t state_;
};

struct Date {
    int year, month, day;
};

// Civil date of a day count from 1970-01-01 (proleptic Gregorian calendar).
Date date_from_days(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t day_of_era = days - era * 146097;
    const std::int64_t year_of_era = (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
    const std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
    const std::int64_t month_index = (5 * day_of_year + 2) / 153;
    const int day = int(day_of_year - (153 * month_index + 2) / 5 + 1);
    const int month = int(month_index < 10 ? month_index + 3 : month_index - 9);
    return {int(year_of_era + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

std::int64_t clamp(std::int64_t value, std::int64_t low, std::int64_t high) {
    return value < low ? low : value > high ? high : value;
}

// cents * (10000 + basis_points) / 10000, rounded to the nearest cent.
std::int64_t moved(std::int64_t cents, std::int64_t basis_points) {
    return (cents * (10000 + basis_points) + 5000) / 10000;
}

std::string price_text(std::int64_t cents) {
    char text[32];
    std::snprintf(text, sizeof text, "%lld.%02lld", static_cast<long long>(cents / 100),
                  static_cast<long long>(cents % 100));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    long bar_count = 3000;
    if (argc > 1) {
        const std::string_view text = argv[1];
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), bar_count);
        if (error != std::errc() || end != text.data() + text.size() || bar_count < 1) {
            std::fprintf(stderr, "movlex_make_sample: '%s' is not a positive bar count\n", argv[1]);
            return 2;
        }
    }
    Generator random(20120102);
    constexpr std::int64_t FIRST_DAY = 15341;  // 2012-01-02, a Monday
    std::int64_t day = FIRST_DAY;
    std::int64_t close = 10000;      // cents
    std::int64_t trend = 0;          // basis points per day
    std::int64_t volatility = 120;   // basis points per day
    std::printf("date,open,high,low,close,volume\n");
    for (long bar = 0; bar < bar_count; ++bar, ++day) {
        while ((day + 4) % 7 == 0 || (day + 4) % 7 == 6) ++day;  // skip Sunday (0) and Saturday (6)
        trend = clamp(trend + random.between(-1, 1), -6, 6);
        volatility = clamp(volatility + random.between(-8, 8), 40, 300);
        const std::int64_t open = std::max<std::int64_t>(moved(close, random.between(-volatility / 4, volatility / 4)), 100);
        close = std::max<std::int64_t>(moved(open, trend + random.between(-volatility, volatility)), 100);
        const std::int64_t high = moved(std::max(open, close), random.between(0, volatility / 2));
        const std::int64_t low = std::max<std::int64_t>(moved(std::min(open, close), -random.between(0, volatility / 2)), 1);
        // Busier days move more.
        const std::int64_t move_basis_points = std::abs(close - open) * 10000 / open;
        const std::int64_t volume = 200000 + random.between(0, 800000) + move_basis_points * 2000;
        const Date date = date_from_days(day);
        std::printf("%04d-%02d-%02d,%s,%s,%s,%s,%lld\n", date.year, date.month, date.day, price_text(open).c_str(),
                    price_text(high).c_str(), price_text(low).c_str(), price_text(close).c_str(),
                    static_cast<long long>(volume));
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
