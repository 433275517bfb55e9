// movlex built inside another project, used through its C++ wrapper: an EMA
// of 1, 2, 4, 8 fed bar by bar against the batch entry, and a saved state
// restored (std::span, which needs the C++20 that movlex::movlex carries).
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

#include "movlex.h"
#include "movlex_stream.hpp"

int main() {
    const std::vector<double> closes = {1, 2, 4, 8, 16, 32};
    movlex::Stream ema("ema", {2});
    std::vector<double> streamed;
    for (double close : closes)
        if (const auto value = ema.update(close)) streamed.push_back(*value);

    std::vector<double> batch(closes.size());
    std::int32_t begin = 0, count = 0;
    if (MOVLEX_EMA(0, std::int32_t(closes.size()) - 1, closes.data(), 2, &begin, &count, batch.data()) != RC_OK) return 1;
    batch.resize(std::size_t(count));

    const std::vector<std::uint8_t> state = ema.save();
    movlex::Stream restored = movlex::Stream::from_state(std::span(state));
    const bool same = streamed == batch && restored.update(64.0) == ema.update(64.0);
    std::printf("embedded movlex: %zu values, %s\n", streamed.size(), same ? "as the batch entry" : "WRONG");
    return same && !streamed.empty() ? 0 : 1;
}
