// Restoring stream states from arbitrary bytes, and updating what was
// restored. Three ways in, chosen by the first byte:
//   0  the bytes as they are (most fail the checksum);
//   1  the bytes with a correct checksum appended, so that the reading of
//      every field is reached;
//   2  a real state: a stream of the indicator the next byte picks is fed
//      bars made of the following bytes and saved, then one byte of the state
//      is replaced and the checksum made correct again.
// A restored stream is fed a few bars and saved again; nothing may crash,
// leak or read out of bounds, and what restores must save to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "api/indicator_table.hpp"
#include "api/stream.hpp"

using namespace movlex;

namespace {

std::vector<std::uint8_t> with_checksum(std::vector<std::uint8_t> body) {
    const std::uint32_t checksum = state_checksum(body);
    for (int b = 0; b < 4; ++b) body.push_back(std::uint8_t(checksum >> (8 * b)));
    return body;
}

void exercise(const std::vector<std::uint8_t>& bytes) {
    std::unique_ptr<Stream> stream;
    if (stream_from_state(bytes, stream) != RC_OK) return;
    if (stream->save() != bytes) std::abort();
    double inputs[MAX_INPUTS] = {1.0, 2.0, 0.5, 1.5};
    double outputs[MAX_OUTPUTS];
    for (int bar = 0; bar < 8; ++bar) {
        stream->update(inputs, outputs);
        inputs[bar % MAX_INPUTS] += 0.25;
    }
    stream->save();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t mode = data[0] % 3;
    const std::vector<std::uint8_t> rest(data + 1, data + size);
    if (mode == 0) {
        exercise(rest);
    } else if (mode == 1) {
        exercise(with_checksum(rest));
    } else {
        if (rest.size() < 3) return 0;
        const auto table = indicator_table();
        const IndicatorInfo& info = table[rest[0] % table.size()];
        std::unique_ptr<Stream> stream;
        if (make_stream(info, nullptr, 0, stream) != RC_OK) return 0;
        double inputs[MAX_INPUTS], outputs[MAX_OUTPUTS];
        for (std::size_t at = 3; at + 1 < rest.size(); at += 2) {
            for (int k = 0; k < MAX_INPUTS; ++k) inputs[k] = double(rest[at] + k) + double(rest[at + 1]) / 256.0;
            stream->update(inputs, outputs);
        }
        std::vector<std::uint8_t> state = stream->save();
        state.resize(state.size() - 4);
        state[rest[1] % state.size()] = rest[2];
        exercise(with_checksum(state));
    }
    return 0;
}
