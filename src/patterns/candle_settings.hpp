// The thresholds every candlestick pattern is written in: what a long, short
// or doji body, a long or very short shadow, and two prices near, far apart
// or equal mean. Each is a multiple of an average over the `period` candles
// before the candle judged (docs/patterns.md, "The settings").
#pragma once

#include <array>
#include <cstdint>

#include "frame/parameter.hpp"

namespace movlex {

// In argument order; the defaults are the settings table's.
inline constexpr std::array CANDLE_PARAMS{
    integer_param("period", 10, 1, 100),
    real_param("long_body", 1.3, 0.0, 100.0),          // body > m * average body
    real_param("short_body", 0.6, 0.0, 100.0),         // body <= m * average body
    real_param("doji_body", 0.08, 0.0, 100.0),         // body <= m * average range
    real_param("long_shadow", 2.0, 0.0, 100.0),        // shadow >= m * the candle's own body
    real_param("very_short_shadow", 0.06, 0.0, 100.0), // shadow <= m * average range
    real_param("prices_near", 0.15, 0.0, 100.0),              // |a - b| <= m * average range
    real_param("prices_far", 0.5, 0.0, 100.0),                // |a - b| > m * average range
    real_param("prices_equal", 0.04, 0.0, 100.0),             // |a - b| <= m * average range
};

inline constexpr int CANDLE_PARAM_COUNT = int(CANDLE_PARAMS.size());

struct CandleSettings {
    std::int32_t period = 10;
    double long_body = 1.3;
    double short_body = 0.6;
    double doji_body = 0.08;
    double long_shadow = 2.0;
    double very_short_shadow = 0.06;
    double prices_near = 0.15;
    double prices_far = 0.5;
    double prices_equal = 0.04;

    // From resolved parameters in argument order.
    static CandleSettings from(const double* params) {
        return {std::int32_t(params[0]), params[1], params[2], params[3], params[4],
                params[5],               params[6], params[7], params[8]};
    }
};

}  // namespace movlex
