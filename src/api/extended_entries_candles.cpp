// The candlestick patterns' entries (movlex_extended.h): the settings read
// from the caller's structure (NULL for the defaults), checked as every
// entry's parameters are, then the pattern's kernel; and the scan.
#include "api/candle_entry.hpp"
#include "patterns/pattern_kernel.hpp"
#include "patterns/scan.hpp"

using namespace movlex;

#define EXTENDED_ENTRY extern "C" MOVLEX_EXTENDED_API

namespace {

template <class Detector>
RetCode pattern_entry(std::int32_t first_index, std::int32_t last_index, const double* open, const double* high,
                      const double* low, const double* close, const MovlexCandleSettings* settings,
                      std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    CandleParams params;
    const RetCode rc = check_candle_request(first_index, last_index, open, high, low, close, settings, params, out);
    if (rc != RC_OK) return rc;
    return run_extended_entry<&pattern_kernel<Detector>>(first_index, last_index, std::array{open, high, low, close},
                                                         params.data(), out_begin, out_count, std::array{out});
}

}  // namespace

#define MOVLEX_CANDLE_DEFINITION(name)                                                                           \
    EXTENDED_ENTRY RetCode MOVLEX_CALL movlex_candle_##name(                                                     \
        int32_t first_index, int32_t last_index, const double* open, const double* high, const double* low,       \
        const double* close, const MovlexCandleSettings* settings, int32_t* out_begin, int32_t* out_count,        \
        double* out) {                                                                                            \
        return pattern_entry<patterns::name>(first_index, last_index, open, high, low, close, settings, out_begin, \
                                             out_count, out);                                                     \
    }
MOVLEX_CANDLE_PATTERN_LIST(MOVLEX_CANDLE_DEFINITION)
#undef MOVLEX_CANDLE_DEFINITION

EXTENDED_ENTRY void MOVLEX_CALL movlex_candle_settings_default(MovlexCandleSettings* settings) {
    if (settings != nullptr) *settings = candle_settings_from(DEFAULT_CANDLE_PARAMS.data());
}

EXTENDED_ENTRY int32_t MOVLEX_CALL movlex_candle_pattern_count(void) { return CANDLE_PATTERN_COUNT; }

EXTENDED_ENTRY const char* MOVLEX_CALL movlex_candle_pattern_name(int32_t pattern) {
    return pattern >= 0 && pattern < CANDLE_PATTERN_COUNT ? CANDLE_PATTERN_NAMES[pattern] : nullptr;
}

EXTENDED_ENTRY RetCode MOVLEX_CALL movlex_candle_scan(int32_t first_index, int32_t last_index, const double* open,
                                                      const double* high, const double* low, const double* close,
                                                      const MovlexCandleSettings* settings, int32_t* out_begin,
                                                      int32_t* out_count, int8_t* out) {
    CandleParams params;
    const RetCode rc = check_candle_request(first_index, last_index, open, high, low, close, settings, params, out);
    if (rc != RC_OK) return rc;
    return guard_allocation(out_begin, out_count, [&] {
        ScanKernel kernel(CandleSettings::from(params.data()));
        const Index start = std::max<Index>(first_index, kernel.lookback());
        if (start > last_index) return no_output(out_begin, out_count);
        const PointerBars<4> bars{{open, high, low, close}};
        int8_t* row = out;
        for (Index i = start - kernel.lookback(); i <= last_index; ++i)
            if (kernel.step(bars, i, row)) row += CANDLE_PATTERN_COUNT;
        return report_output(out_begin, out_count, start, last_index);
    });
}
