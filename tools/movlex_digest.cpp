// movlex_digest: every indicator of the table over a price file, written as
// exact hexadecimal doubles, so that the digests of two machines can be
// compared byte for byte.
//
//   movlex_digest [FILE]     (default: the bundled sample, data/sample.csv)
//
// The indicators run first with the library as loaded, then again after
// MOVLEX_INIT. Each runs with its defaults, with shorter and with longer
// parameters, over a part of the range, and, when it takes moving-average
// types, once with every type. One block per call:
//
//   == loaded sma defaults period=30 [0..2999]
//   rc 0 begin 29 count 2971
//   29 0x1.8e0a3d70a3d71p+6
//   ...
//
// The bar index, then one value per output.
//
// Then every indicator's stream with its defaults, in both states: fed the
// first half of the bars, its saved state in hexadecimal on one line
//
//   state initialised rsi 4d564c58...
//
// then fed the rest, one line per bar with a value. Equal digests so show
// equal state bytes on both machines. With --restore STATES, the program
// instead reads such state lines (from another machine's digest), restores
// each and feeds it the rest of the bars:
//
//   movlex_digest --restore states.txt [FILE]
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "api/stream.hpp"
#include "csv_reader.hpp"
#include "indicator_request.hpp"
#include "movlex.h"

namespace movlex::digest {
namespace {

struct Failure {
    std::string message;
};

std::string read_file(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) throw Failure{std::string("cannot open ") + path + ": " + std::strerror(errno)};
    std::string text;
    char buffer[1 << 16];
    std::size_t got;
    while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) throw Failure{std::string("cannot read ") + path};
    return text;
}

// The price columns of the file by lower-case name: open, high, ...
class Prices {
public:
    explicit Prices(const csv::Table& table) : table_(table) {}

    std::size_t bar_count() const { return table_.rows.size(); }

    const std::vector<double>& column(const std::string& name) {
        auto found = columns_.find(name);
        if (found != columns_.end()) return found->second;
        const std::vector<std::size_t> matches = table_.columns_named(name);
        if (matches.size() != 1) throw Failure{"the file needs exactly one column '" + name + "'"};
        auto values = csv::column_values(table_, matches.front());
        if (const csv::Error* error = std::get_if<csv::Error>(&values)) throw Failure{error->describe()};
        return columns_.emplace(name, std::move(std::get<std::vector<double>>(values))).first->second;
    }

private:
    const csv::Table& table_;
    std::map<std::string, std::vector<double>> columns_;
};

// The column an input reads: its own (the close for "input"); the second
// series of the two-series statistics ("other") reads the open, as the
// sample has no other series.
std::string input_column(const char* input) {
    return std::string(input) == "other" ? std::string("open") : cli::default_column(input);
}

// One call: a label, the parameters and the range.
struct Call {
    std::string label;
    std::array<double, MAX_PARAMS> params{};
    std::int32_t first_index = 0;
    std::int32_t last_index = 0;
};

int param_total(const IndicatorInfo& info) {
    int n = 0;
    while (n < int(std::size(info.params)) && info.params[n].name != nullptr) ++n;
    return n;
}

double clamped(const ParamInfo& param, double value) { return std::clamp(value, param.min, param.max); }

// Every parameter scaled from its default (integers rounded), moving-average
// types set to `ma_type`, all kept within range.
std::array<double, MAX_PARAMS> scaled_params(const IndicatorInfo& info, double factor, int ma_type) {
    std::array<double, MAX_PARAMS> params{};
    for (int p = 0; p < param_total(info); ++p) {
        const ParamInfo& param = info.params[p];
        switch (param.kind) {
            case ParamKind::integer: params[p] = clamped(param, std::round(param.default_value * factor)); break;
            case ParamKind::real: params[p] = clamped(param, param.default_value * factor); break;
            case ParamKind::ma_type: params[p] = clamped(param, ma_type < 0 ? param.default_value : ma_type); break;
        }
    }
    return params;
}

bool takes_ma_type(const IndicatorInfo& info) {
    for (int p = 0; p < param_total(info); ++p)
        if (info.params[p].kind == ParamKind::ma_type) return true;
    return false;
}

std::vector<Call> calls_of(const IndicatorInfo& info, std::int32_t bar_count) {
    const std::int32_t last = bar_count - 1;
    std::vector<Call> calls = {
        {"defaults", scaled_params(info, 1.0, -1), 0, last},
        {"shorter", scaled_params(info, 0.5, 1), 0, last},
        {"longer", scaled_params(info, 1.5, 2), 0, last},
        {"defaults-part", scaled_params(info, 1.0, -1), bar_count / 3, 2 * bar_count / 3},
    };
    if (takes_ma_type(info))
        for (int type = 0; type < MA_TYPE_COUNT; ++type)
            calls.push_back({std::string("ma-type-") + cli::ma_type_name(type), scaled_params(info, 1.0, type), 0, last});
    return calls;
}

void write_call(std::FILE* out, const char* state, const IndicatorInfo& info, const Call& call, Prices& prices) {
    std::fprintf(out, "== %s %s %s", state, info.name, call.label.c_str());
    for (int p = 0; p < param_total(info); ++p) std::fprintf(out, " %s=%.17g", info.params[p].name, call.params[p]);
    std::fprintf(out, " [%d..%d]\n", int(call.first_index), int(call.last_index));

    const std::size_t room = std::size_t(call.last_index - call.first_index) + 1;
    Request request;
    request.first_index = call.first_index;
    request.last_index = call.last_index;
    for (int i = 0; i < info.input_count(); ++i) request.inputs[i] = prices.column(input_column(info.inputs[i])).data();
    request.params = call.params;
    std::vector<std::vector<double>> outputs(info.output_count(), std::vector<double>(room));
    for (int o = 0; o < info.output_count(); ++o) request.outputs[o] = outputs[o].data();
    std::int32_t begin = -1, count = -1;
    request.out_begin = &begin;
    request.out_count = &count;

    const RetCode code = info.invoke(request);
    std::fprintf(out, "rc %d begin %d count %d\n", int(code), int(begin), int(count));
    if (code != RC_OK) return;
    for (std::int32_t k = 0; k < count; ++k) {
        std::fprintf(out, "%d", int(begin + k));
        for (int o = 0; o < info.output_count(); ++o) std::fprintf(out, " %a", outputs[o][k]);
        std::fputc('\n', out);
    }
}

// The inputs of bar t of an indicator, from the file's columns.
void bar_inputs(const IndicatorInfo& info, Prices& prices, std::size_t t, double* bar) {
    for (int i = 0; i < info.input_count(); ++i) bar[i] = prices.column(input_column(info.inputs[i]))[t];
}

void feed(std::FILE* out, Stream& stream, Prices& prices, std::size_t from, std::size_t to) {
    const IndicatorInfo& info = stream.indicator();
    for (std::size_t t = from; t < to; ++t) {
        double bar[MAX_INPUTS], values[MAX_OUTPUTS];
        bar_inputs(info, prices, t, bar);
        if (!stream.update(bar, values) || out == nullptr) continue;
        std::fprintf(out, "%d", int(t));
        for (int o = 0; o < info.output_count(); ++o) std::fprintf(out, " %a", values[o]);
        std::fputc('\n', out);
    }
}

void write_streams(std::FILE* out, const char* state, Prices& prices) {
    const std::size_t half = prices.bar_count() / 2;
    for (const IndicatorInfo& info : indicator_table()) {
        std::unique_ptr<Stream> stream;
        if (make_stream(info, nullptr, 0, stream) != RC_OK) throw Failure{std::string("no stream of ") + info.name};
        feed(nullptr, *stream, prices, 0, half);
        std::fprintf(out, "state %s %s ", state, info.name);
        for (std::uint8_t byte : stream->save()) std::fprintf(out, "%02x", byte);
        std::fputc('\n', out);
        feed(out, *stream, prices, half, prices.bar_count());
    }
}

// Restores every state line of `states_path` and feeds the rest of the bars.
void write_restored(std::FILE* out, const char* states_path, Prices& prices) {
    const std::string text = read_file(states_path);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.rfind("state ", 0) != 0) continue;
        const std::string hex = line.substr(line.rfind(' ') + 1);
        std::vector<std::uint8_t> bytes;
        for (std::size_t h = 0; h + 1 < hex.size(); h += 2) bytes.push_back(std::uint8_t(std::stoul(hex.substr(h, 2), nullptr, 16)));
        std::unique_ptr<Stream> stream;
        const RetCode code = stream_from_state(bytes, stream);
        std::fprintf(out, "%s: rc %d\n", line.substr(0, line.rfind(' ')).c_str(), int(code));
        if (code != RC_OK) continue;
        feed(out, *stream, prices, std::size_t(stream->bars()), prices.bar_count());
    }
}

void write_digest(std::FILE* out, const char* path, const char* states_path) {
    const std::string text = read_file(path);
    auto parsed = csv::parse_table(text);
    if (const csv::Error* error = std::get_if<csv::Error>(&parsed)) throw Failure{error->describe()};
    const csv::Table& table = std::get<csv::Table>(parsed);
    Prices prices(table);
    const auto bar_count = static_cast<std::int32_t>(prices.bar_count());
    if (bar_count < 3) throw Failure{"the file needs at least three bars"};

    if (states_path != nullptr) {
        write_restored(out, states_path, prices);
        return;
    }
    std::fprintf(out, "# movlex digest of %d bars\n", int(bar_count));
    // The library as loaded first: MOVLEX_INIT changes its state for good.
    for (const char* state : {"loaded", "initialised"}) {
        if (std::strcmp(state, "initialised") == 0 && MOVLEX_INIT() != RC_OK) throw Failure{"MOVLEX_INIT failed"};
        for (const IndicatorInfo& info : indicator_table())
            for (const Call& call : calls_of(info, bar_count)) write_call(out, state, info, call, prices);
        write_streams(out, state, prices);
    }
    MOVLEX_SHUTDOWN();
}

}  // namespace
}  // namespace movlex::digest

int main(int argc, char** argv) {
    const char* states_path = nullptr;
    if (argc >= 3 && std::strcmp(argv[1], "--restore") == 0) {
        states_path = argv[2];
        argv += 2;
        argc -= 2;
    }
    if (argc > 2 || (argc == 2 && argv[1][0] == '-' && argv[1][1] != '\0')) {
        std::fprintf(stderr, "usage: movlex_digest [--restore STATES] [FILE]\n");
        return 2;
    }
    static char buffer[1 << 20];
    std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
    try {
        movlex::digest::write_digest(stdout, argc == 2 ? argv[1] : MOVLEX_SAMPLE_CSV, states_path);
    } catch (const movlex::digest::Failure& failure) {
        std::fprintf(stderr, "movlex_digest: %s\n", failure.message.c_str());
        return 1;
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "movlex_digest: cannot write the digest\n");
        return 1;
    }
    return 0;
}
