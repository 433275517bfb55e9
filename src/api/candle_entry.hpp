// The candlestick entries' settings: the caller's MovlexCandleSettings (NULL
// for the defaults) as the table's parameters, in the order of CANDLE_PARAMS.
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

}  // namespace movlex
