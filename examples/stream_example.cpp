// Streams from C++: an EMA and Bollinger bands fed bar by bar, a what-if copy,
// and a state saved and restored.
#include <cstdio>
#include <vector>

#include "movlex_stream.hpp"

int main() {
    const std::vector<double> closes = {10, 11, 12, 13, 12.5, 12, 13.5, 14, 13, 15};
    movlex::Stream ema("ema", {3});
    movlex::Stream bands("bbands", {5, 2.0, 2.0});
    double band[3];
    for (double close : closes) {
        const auto average = ema.update(close);
        const bool have_bands = bands.update({&close, 1}, band);
        std::printf("close %5.2f  ema %s", close, average ? "" : "-");
        if (average) std::printf("%.4f", *average);
        if (have_bands) std::printf("  bands %.4f %.4f %.4f", band[0], band[1], band[2]);
        std::printf("\n");
    }
    movlex::Stream what_if = ema;  // an independent copy
    movlex::Stream resumed = movlex::Stream::from_state(ema.save());
    const double a = *what_if.update(20.0), b = *resumed.update(20.0), c = *ema.update(20.0);
    std::printf("after 20.0: copy %.6f, restored %.6f, original %.6f\n", a, b, c);
    return a == c && b == c ? 0 : 1;
}
