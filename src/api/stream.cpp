// Creating streams from the indicator table, and their saved state:
//
//   magic "MVLXSTRM" (8 bytes), format version (u32),
//   indicator name (u8 length, then the bytes),
//   parameter count (u8), each parameter (f64, defaults filled in),
//   unstable-period count (u8), each unstable period (i32),
//   bars fed (i64), the kernel's fields, the rings of recent bars,
//   checksum (u32, 32-bit FNV-1a of every byte before it).
//
// Every number is little-endian; doubles are stored as their IEEE 754 bits.
#include "api/stream.hpp"

#include <cstring>
#include <string_view>

#include "api/indicator_table.hpp"

namespace movlex {

namespace {

constexpr char STATE_MAGIC_BYTES[8] = {'M', 'V', 'L', 'X', 'S', 'T', 'R', 'M'};
// 2: a long window's extreme keeps the suffixes of chunks of its block, not of each bar.
constexpr std::uint32_t STATE_FORMAT_VERSION = 2;
constexpr Index MAX_BARS = Index{1} << 62;


struct StateHeader {
    const IndicatorInfo* indicator = nullptr;
    StreamSetup setup{};
    Index bars = 0;
};

void write_header(StateWriter& writer, const Stream& stream) {
    for (char c : STATE_MAGIC_BYTES) writer.put_bits(std::uint8_t(c), 1);
    writer.put_bits(STATE_FORMAT_VERSION, 4);
    const std::string_view name = stream.indicator().name;
    writer.put_bits(name.size(), 1);
    for (char c : name) writer.put_bits(std::uint8_t(c), 1);
    const int param_count = stream.indicator().param_count();
    writer.put_bits(std::uint64_t(param_count), 1);
    StreamSetup setup = stream.setup();
    for (int p = 0; p < param_count; ++p) writer(setup.params[p]);
    writer.put_bits(UNSTABLE_SLOT_COUNT, 1);
    for (std::int32_t& period : setup.unstable.periods) writer(period);
    Index bars = stream.bars();
    writer(bars);
}

// Reads and checks everything before the kernel's fields.
RetCode read_header(StateReader& reader, StateHeader& header) {
    for (char c : STATE_MAGIC_BYTES)
        if (reader.get_bits(1) != std::uint8_t(c)) return RC_STATE_CORRUPT;
    const std::uint64_t version = reader.get_bits(4);
    if (!reader.ok()) return RC_STATE_CORRUPT;
    if (version != STATE_FORMAT_VERSION) return RC_STATE_VERSION;

    char name[256];
    const std::size_t length = std::size_t(reader.get_bits(1));
    for (std::size_t c = 0; c < length; ++c) name[c] = char(reader.get_bits(1));
    if (!reader.ok()) return RC_STATE_CORRUPT;
    header.indicator = find_indicator(std::string_view(name, length));
    if (header.indicator == nullptr || header.indicator->stream == nullptr) return RC_STATE_CORRUPT;

    const int param_count = int(reader.get_bits(1));
    if (param_count != header.indicator->param_count()) return RC_STATE_CORRUPT;
    for (int p = 0; p < param_count; ++p) {
        double value = 0;
        reader(value);
        // Stored parameters are resolved ones: they must be in range as they are.
        if (!reader.ok() || !resolve_value(header.indicator->params[p], value, header.setup.params[p]) ||
            header.setup.params[p] != value)
            return RC_STATE_CORRUPT;
    }
    if (reader.get_bits(1) != UNSTABLE_SLOT_COUNT) return RC_STATE_CORRUPT;
    for (std::int32_t& period : header.setup.unstable.periods) reader.bounded(period, 0, PERIOD_MAX);
    reader.bounded(header.bars, 0, MAX_BARS);
    return reader.ok() ? RetCode(RC_OK) : RetCode(RC_STATE_CORRUPT);
}

// Checks the checksum and returns the bytes it covers.
bool checked_body(std::span<const std::uint8_t> bytes, std::span<const std::uint8_t>& body) {
    if (bytes.size() < 4) return false;
    body = bytes.first(bytes.size() - 4);
    std::uint32_t stored = 0;
    for (int b = 0; b < 4; ++b) stored |= std::uint32_t(bytes[body.size() + b]) << (8 * b);
    return stored == state_checksum(body);
}

}  // namespace

std::uint32_t state_checksum(std::span<const std::uint8_t> bytes) {
    std::uint32_t hash = 2166136261u;
    for (std::uint8_t byte : bytes) hash = (hash ^ byte) * 16777619u;
    return hash;
}

RetCode make_stream(const IndicatorInfo& indicator, const double* params, int param_count,
                    std::unique_ptr<Stream>& stream) {
    if (indicator.stream == nullptr) return RC_UNKNOWN_INDICATOR;
    if (param_count < 0 || param_count > indicator.param_count() || (param_count > 0 && params == nullptr))
        return RC_BAD_ARGUMENT;
    StreamSetup setup;
    for (int p = 0; p < indicator.param_count(); ++p) {
        const double raw = p < param_count ? params[p]
                           : indicator.params[p].kind == ParamKind::real ? DEFAULT_REAL
                                                                         : double(DEFAULT_INT);
        if (!resolve_value(indicator.params[p], raw, setup.params[p])) return RC_BAD_ARGUMENT;
    }
    setup.unstable = unstable_periods_in_force();
    std::unique_ptr<Stream> made = indicator.stream(setup);
    if (!made) return RC_NO_MEMORY;
    made->indicator_ = &indicator;
    made->setup_ = setup;
    stream = std::move(made);
    return RC_OK;
}

std::vector<std::uint8_t> Stream::save() const {
    std::vector<std::uint8_t> bytes;
    StateWriter writer(bytes);
    write_header(writer, *this);
    const_cast<Stream*>(this)->write_state(writer);
    const std::uint32_t checksum = state_checksum(bytes);
    writer.put_bits(checksum, 4);
    return bytes;
}

RetCode Stream::restore(std::span<const std::uint8_t> bytes) {
    std::unique_ptr<Stream> restored;
    const RetCode rc = stream_from_state(bytes, restored);
    if (rc != RC_OK) return rc;
    if (&restored->indicator() != indicator_ || restored->setup().params != setup_.params ||
        restored->setup().unstable.periods != setup_.unstable.periods)
        return RC_STATE_MISMATCH;
    // Same indicator and parameters: the same kernel type.
    if (!assign_state(*restored)) return RC_STATE_MISMATCH;
    return RC_OK;
}

RetCode stream_from_state(std::span<const std::uint8_t> bytes, std::unique_ptr<Stream>& stream) {
    std::span<const std::uint8_t> body;
    if (!checked_body(bytes, body)) return RC_STATE_CORRUPT;
    StateReader reader(body);
    StateHeader header;
    const RetCode rc = read_header(reader, header);
    if (rc != RC_OK) return rc;
    std::unique_ptr<Stream> made = header.indicator->stream(header.setup);
    if (!made) return RC_NO_MEMORY;
    made->indicator_ = header.indicator;
    made->setup_ = header.setup;
    made->bars_ = header.bars;
    if (!made->read_state(reader) || !reader.at_end()) return RC_STATE_CORRUPT;
    stream = std::move(made);
    return RC_OK;
}

}  // namespace movlex
