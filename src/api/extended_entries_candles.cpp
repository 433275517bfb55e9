// The candlestick entries that are not one pattern's (movlex_extended.h): the
// default settings, the patterns' names and the scan. Each pattern's entry is
// generated from the indicator list (candle_entries.cpp).
#include "api/candle_entry.hpp"
#include "patterns/scan.hpp"

using namespace movlex;

#define EXTENDED_ENTRY extern "C" MOVLEX_EXTENDED_API

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
