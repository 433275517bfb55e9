// The native side of the JavaScript benchmark (bench/js/bench.mjs): times
// indicators of the table over bars read from a file, with their defaults,
// as one call over the whole series, and prints the best of several runs in
// ns per bar.
//
//   movlex_table_timing BARS_FILE NAME...
//
// BARS_FILE: the open, high, low, close and volume series one after another,
// each as little-endian doubles of one length.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "api/indicator_table.hpp"
#include "movlex.h"

int main(int argc, char** argv) {
    using namespace movlex;
    if (argc < 3) {
        std::fprintf(stderr, "usage: movlex_table_timing BARS_FILE NAME...\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t bars = bytes.size() / 8 / 5;
    std::vector<double> data(bars * 5);
    std::copy(bytes.begin(), bytes.begin() + std::ptrdiff_t(data.size() * 8), reinterpret_cast<char*>(data.data()));
    const auto column = [&](const std::string& name) {
        const char* names[] = {"open", "high", "low", "close", "volume"};
        for (int c = 0; c < 5; ++c)
            if (name == names[c]) return data.data() + std::size_t(c) * bars;
        return data.data() + 3 * bars;  // "input": the close
    };
    MOVLEX_INIT();
    for (int a = 2; a < argc; ++a) {
        const IndicatorInfo* info = find_indicator(argv[a]);
        if (info == nullptr) return 1;
        Request request;
        request.first_index = 0;
        request.last_index = std::int32_t(bars) - 1;
        for (int i = 0; i < info->input_count(); ++i) request.inputs[i] = column(info->inputs[i]);
        for (int p = 0; p < info->param_count(); ++p) request.params[p] = info->params[p].default_value;
        std::vector<std::vector<double>> outputs(info->output_count(), std::vector<double>(bars));
        for (int o = 0; o < info->output_count(); ++o) request.outputs[o] = outputs[o].data();
        std::int32_t begin = 0, count = 0;
        request.out_begin = &begin;
        request.out_count = &count;
        double best = 1e300;
        for (int run = 0; run < 7; ++run) {
            const auto start = std::chrono::steady_clock::now();
            if (info->invoke(request) != RC_OK) return 1;
            const std::chrono::duration<double, std::nano> spent = std::chrono::steady_clock::now() - start;
            best = std::min(best, spent.count() / double(bars));
        }
        std::printf("%s %.3f\n", info->name, best);
    }
    return 0;
}
