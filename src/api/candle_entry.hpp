// The candlestick entries: the caller's MovlexCandleSettings (NULL for the
// defaults) as the table's parameters, in the order of CANDLE_PARAMS, checked
// as every entry's parameters are; then the pattern's kernel.
#pragma once

#include <array>
#include <cstdint>

#include "api/extended_entry.hpp"
#include "movlex_extended.h"
#include "patterns/candle_settings.hpp"

namespace movlex {

using CandleParams = std::array<double, CANDLE_PARAM_COUNT>;

inline constexpr CandleParams DEFAULT_CANDLE_PARAMS = [] {
    CandleParams params{};
    for (int p = 0; p < CANDLE_PARAM_COUNT; ++p) params[std::size_t(p)] = CANDLE_PARAMS[std::size_t(p)].default_value;
    return params;
}();

// The structure holding parameters in table order (DEFAULT_INT and
// DEFAULT_REAL pass through as they are).
inline MovlexCandleSettings candle_settings_from(const double* params) {
    return {std::int32_t(params[0]), params[1], params[2], params[3], params[4],
            params[5],               params[6], params[7], params[8]};
}

// The checks of the calling contract in the core's order (range, inputs,
// parameters, outputs); on RC_OK, params holds the resolved settings.
template <class Output>
RetCode check_candle_request(std::int32_t first_index, std::int32_t last_index, const double* open, const double* high,
                             const double* low, const double* close, const MovlexCandleSettings* settings,
                             CandleParams& params, Output* out) {
    MovlexCandleSettings s = settings != nullptr ? *settings : candle_settings_from(DEFAULT_CANDLE_PARAMS.data());
    const RetCode rc = Validation(first_index, last_index)
                           .inputs(open, high, low, close)
                           .params(CANDLE_PARAMS, s.period, s.long_body, s.short_body, s.doji_body, s.long_shadow,
                                   s.very_short_shadow, s.prices_near, s.prices_far, s.prices_equal)
                           .outputs(out)
                           .result();
    params = {double(s.period), s.long_body,         s.short_body,  s.doji_body,  s.long_shadow,
              s.very_short_shadow, s.prices_near, s.prices_far, s.prices_equal};
    return rc;
}

// A pattern's entry: the request and settings checked, then the kernel that
// make_kernel makes from the resolved settings.
template <auto make_kernel>
RetCode candle_entry(std::int32_t first_index, std::int32_t last_index, const double* open, const double* high,
                     const double* low, const double* close, const MovlexCandleSettings* settings,
                     std::int32_t* out_begin, std::int32_t* out_count, double* out) {
    CandleParams params;
    const RetCode rc = check_candle_request(first_index, last_index, open, high, low, close, settings, params, out);
    if (rc != RC_OK) return rc;
    return run_extended_entry<make_kernel>(first_index, last_index, std::array{open, high, low, close},
                                           params.data(), out_begin, out_count, std::array{out});
}

}  // namespace movlex
