// Bollinger bands through the installed library, from C++: over the eight
// values 2, 4, 4, 4, 5, 5, 7, 9 the mean is 5 and the standard deviation 2,
// so two deviations each way give exactly 9 and 1.
#include <cstdint>
#include <cstdio>
#include <vector>

#include <movlex.h>

namespace {

// MOVLEX_INIT for the lifetime of the program's work, MOVLEX_SHUTDOWN after.
struct Library {
    Library() { MOVLEX_INIT(); }
    ~Library() { MOVLEX_SHUTDOWN(); }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
};

}  // namespace

int main() {
    const Library library;
    const std::vector<double> values{2, 4, 4, 4, 5, 5, 7, 9};
    const auto last = static_cast<std::int32_t>(values.size()) - 1;
    std::vector<double> upper(values.size()), middle(values.size()), lower(values.size());
    std::int32_t out_begin = 0, out_count = 0;

    const RetCode code = MOVLEX_BBANDS(0, last, values.data(), 8, 2.0, 2.0, MA_SMA, &out_begin, &out_count,
                                       upper.data(), middle.data(), lower.data());
    std::printf("BBANDS(8, 2, 2): code %d, out_begin %d, out_count %d: upper %g, middle %g, lower %g\n",
                static_cast<int>(code), static_cast<int>(out_begin), static_cast<int>(out_count), upper[0], middle[0],
                lower[0]);
    const bool ok = code == RC_OK && out_begin == last && out_count == 1 && upper[0] == 9.0 && middle[0] == 5.0 &&
                    lower[0] == 1.0;
    std::printf("%s\n", ok ? "consumer (C++): all values as expected" : "consumer (C++): WRONG VALUES");
    return ok ? 0 : 1;
}
