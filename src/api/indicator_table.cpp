#include "api/indicator_table.hpp"

#include "averages/exponential.hpp"
#include "averages/kaufman.hpp"
#include "averages/mesa.hpp"
#include "averages/simple.hpp"
#include "averages/t3.hpp"
#include "averages/triangular.hpp"
#include "directional/indicators.hpp"
#include "directional/movement.hpp"
#include "directional/sar.hpp"
#include "directional/trend_strength.hpp"
#include "directional/true_range.hpp"
#include "oscillators/balance_of_power.hpp"
#include "oscillators/commodity_channel.hpp"
#include "oscillators/momentum.hpp"
#include "oscillators/price_oscillators.hpp"
#include "oscillators/range_position.hpp"
#include "oscillators/rsi.hpp"
#include "oscillators/stochastic.hpp"
#include "oscillators/ultimate.hpp"
#include "statistics/bollinger.hpp"
#include "statistics/extremes.hpp"
#include "statistics/variance.hpp"
#include "volume/accumulation.hpp"
#include "volume/money_flow.hpp"
#include "volume/on_balance.hpp"
#include "movlex.h"
#include "movlex_extended.h"
#include "api/extended_entry.hpp"
#include "averages/hull.hpp"
#include "averages/ichimoku.hpp"
#include "averages/legoux.hpp"
#include "averages/price_channels.hpp"
#include "averages/supertrend.hpp"
#include "averages/volume_weighted.hpp"
#include "averages/zero_lag.hpp"
#include "directional/vortex.hpp"
#include "oscillators/average_distance.hpp"
#include "oscillators/fisher.hpp"
#include "oscillators/range_expansion.hpp"
#include "oscillators/smoothed_momentum.hpp"
#include "volume/volume_oscillator.hpp"
#include "statistics/correlation.hpp"
#include "statistics/linear_regression.hpp"
#include "statistics/percent_rank.hpp"
#include "statistics/z_score.hpp"
#include "volume/chaikin_flow.hpp"
#include "volume/ease_of_movement.hpp"
#include "volume/force_index.hpp"
#include "volume/williams_ad.hpp"
#include "patterns/catalogue.hpp"
#include "patterns/pattern_kernel.hpp"

namespace movlex {

namespace {

constexpr auto OUTPUT_MAY_BE_INPUT = Aliasing::output_may_be_input;
constexpr auto EXTENDED = IndicatorSet::extended;
constexpr auto OVERLAY = Placement::overlay;
constexpr auto PANEL = Placement::panel;
constexpr auto MARKERS = Placement::markers;

// SuperTrend's line goes over the price, its direction (+1 or -1) in a panel.
constexpr Placement SUPERTREND_PLACEMENTS[] = {OVERLAY, PANEL};

// A candlestick pattern's row: its kernel, its settings, its signal.
#define MOVLEX_CANDLE_ROW(name)                                                                                     \
    {"candle_" #name, "movlex_candle_" #name, patterns::name::summary, {"open", "high", "low", "close"},             \
     row_params(CANDLE_PARAMS), {"signal"}, invoke_entry<&movlex_candle_##name>,                                     \
     extended_lookback<&pattern_kernel<patterns::name>>, OUTPUT_MAY_BE_INPUT, MARKERS,                               \
     stream_of<&pattern_kernel<patterns::name>>, EXTENDED},

const IndicatorInfo table[] = {
    // Moving averages
    {"sma", "MOVLEX_SMA", "Simple moving average", {"input"}, row_params(SMA_PARAMS), {"out"},
     invoke_entry<&MOVLEX_SMA>, invoke_lookback<&sma_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&sma_kernel>},
    {"ema", "MOVLEX_EMA", "Exponential moving average", {"input"}, row_params(EMA_PARAMS), {"out"},
     invoke_entry<&MOVLEX_EMA>, invoke_lookback<&ema_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&ema_kernel>},
    {"wma", "MOVLEX_WMA", "Weighted moving average", {"input"}, row_params(WMA_PARAMS), {"out"},
     invoke_entry<&MOVLEX_WMA>, invoke_lookback<&wma_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&wma_kernel>},
    {"dema", "MOVLEX_DEMA", "Double exponential moving average", {"input"}, row_params(DEMA_PARAMS), {"out"},
     invoke_entry<&MOVLEX_DEMA>, invoke_lookback<&dema_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&dema_kernel>},
    {"tema", "MOVLEX_TEMA", "Triple exponential moving average", {"input"}, row_params(TEMA_PARAMS), {"out"},
     invoke_entry<&MOVLEX_TEMA>, invoke_lookback<&tema_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&tema_kernel>},
    {"trima", "MOVLEX_TRIMA", "Triangular moving average", {"input"}, row_params(TRIMA_PARAMS), {"out"},
     invoke_entry<&MOVLEX_TRIMA>, invoke_lookback<&trima_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&trima_kernel>},
    {"kama", "MOVLEX_KAMA", "Kaufman adaptive moving average", {"input"}, row_params(KAMA_PARAMS), {"out"},
     invoke_entry<&MOVLEX_KAMA>, invoke_lookback<&kama_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&kama_kernel>},
    {"mama", "MOVLEX_MAMA", "MESA adaptive moving average and its following average", {"input"},
     row_params(MAMA_PARAMS), {"out_mama", "out_fama"}, invoke_entry<&MOVLEX_MAMA>, invoke_lookback<&mama_lookback>,
     OUTPUT_MAY_BE_INPUT, OVERLAY, stream_of<&mama_kernel>},
    {"t3", "MOVLEX_T3", "T3 moving average", {"input"}, row_params(T3_PARAMS), {"out"}, invoke_entry<&MOVLEX_T3>,
     invoke_lookback<&t3_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY, stream_of<&t3_kernel>},
    // Price oscillators
    {"apo", "MOVLEX_APO", "Absolute price oscillator", {"input"}, row_params(APO_PARAMS), {"out"},
     invoke_entry<&MOVLEX_APO>, invoke_lookback<&apo_lookback>, Aliasing::separate_arrays, PANEL,
     stream_of<&apo_kernel>},
    {"ppo", "MOVLEX_PPO", "Percentage price oscillator", {"input"}, row_params(PPO_PARAMS), {"out"},
     invoke_entry<&MOVLEX_PPO>, invoke_lookback<&ppo_lookback>, Aliasing::separate_arrays, PANEL,
     stream_of<&ppo_kernel>},
    {"macd", "MOVLEX_MACD", "Moving average convergence/divergence", {"input"}, row_params(MACD_PARAMS),
     {"macd", "signal", "hist"}, invoke_entry<&MOVLEX_MACD>, invoke_lookback<&macd_lookback>, Aliasing::separate_arrays,
     PANEL, stream_of<&macd_kernel>},
    {"mac2", "MOVLEX_MAC2", "MACD line with a 3-value simple signal lookback", {"input"}, row_params(MAC2_PARAMS),
     {"macd"}, invoke_entry<&MOVLEX_MAC2>, invoke_lookback<&mac2_lookback>, Aliasing::separate_arrays, PANEL,
     stream_of<&mac2_kernel>},
    // Momentum oscillators
    {"mom", "MOVLEX_MOM", "Momentum", {"input"}, row_params(MOM_PARAMS), {"out"}, invoke_entry<&MOVLEX_MOM>,
     invoke_lookback<&mom_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&mom_kernel>},
    {"roc", "MOVLEX_ROC", "Rate of change in percent", {"input"}, row_params(ROC_PARAMS), {"out"},
     invoke_entry<&MOVLEX_ROC>, invoke_lookback<&roc_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&roc_kernel>},
    {"rsi", "MOVLEX_RSI", "Relative strength index", {"input"}, row_params(RSI_PARAMS), {"out"},
     invoke_entry<&MOVLEX_RSI>, invoke_lookback<&rsi_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&rsi_kernel>},
    {"cmo", "MOVLEX_CMO", "Chande momentum oscillator", {"input"}, row_params(CMO_PARAMS), {"out"},
     invoke_entry<&MOVLEX_CMO>, invoke_lookback<&cmo_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&cmo_kernel>},
    {"stoch", "MOVLEX_STOCH", "Slow stochastic", {"high", "low", "close"}, row_params(STOCH_PARAMS), {"k", "d"},
     invoke_entry<&MOVLEX_STOCH>, invoke_lookback<&stoch_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&stoch_kernel>},
    {"stochf", "MOVLEX_STOCHF", "Fast stochastic", {"high", "low", "close"}, row_params(STOCHF_PARAMS), {"k", "d"},
     invoke_entry<&MOVLEX_STOCHF>, invoke_lookback<&stochf_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&stochf_kernel>},
    {"stochrsi", "MOVLEX_STOCHRSI", "Fast stochastic of the RSI", {"input"}, row_params(STOCHRSI_PARAMS), {"k", "d"},
     invoke_entry<&MOVLEX_STOCHRSI>, invoke_lookback<&stochrsi_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&stochrsi_kernel>},
    {"willr", "MOVLEX_WILLR", "Williams %R", {"high", "low", "close"}, row_params(WILLR_PARAMS), {"out"},
     invoke_entry<&MOVLEX_WILLR>, invoke_lookback<&willr_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&willr_kernel>},
    {"aroon", "MOVLEX_AROON", "Aroon down and up", {"high", "low"}, row_params(AROON_PARAMS),
     {"out_aroon_down", "out_aroon_up"}, invoke_entry<&MOVLEX_AROON>, invoke_lookback<&aroon_lookback>,
     OUTPUT_MAY_BE_INPUT, PANEL, stream_of<&aroon_kernel>},
    {"ultosc", "MOVLEX_ULTOSC", "Ultimate oscillator", {"high", "low", "close"}, row_params(ULTOSC_PARAMS), {"out"},
     invoke_entry<&MOVLEX_ULTOSC>, invoke_lookback<&ultosc_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&ultosc_kernel>},
    {"cci", "MOVLEX_CCI", "Commodity channel index", {"high", "low", "close"}, row_params(CCI_PARAMS), {"out"},
     invoke_entry<&MOVLEX_CCI>, invoke_lookback<&cci_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&cci_kernel>},
    {"bop", "MOVLEX_BOP", "Balance of power", {"open", "high", "low", "close"}, {}, {"out"}, invoke_entry<&MOVLEX_BOP>,
     invoke_lookback<&bop_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&bop_kernel>},
    // Directional movement and volatility
    {"plus_dm", "MOVLEX_PLUS_DM", "Plus directional movement", {"high", "low"}, row_params(PLUS_DM_PARAMS), {"out"},
     invoke_entry<&MOVLEX_PLUS_DM>, invoke_lookback<&plus_dm_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&plus_dm_kernel>},
    {"minus_dm", "MOVLEX_MINUS_DM", "Minus directional movement", {"high", "low"}, row_params(MINUS_DM_PARAMS), {"out"},
     invoke_entry<&MOVLEX_MINUS_DM>, invoke_lookback<&minus_dm_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&minus_dm_kernel>},
    {"plus_di", "MOVLEX_PLUS_DI", "Plus directional indicator", {"high", "low", "close"}, row_params(PLUS_DI_PARAMS),
     {"out"}, invoke_entry<&MOVLEX_PLUS_DI>, invoke_lookback<&plus_di_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&plus_di_kernel>},
    {"minus_di", "MOVLEX_MINUS_DI", "Minus directional indicator", {"high", "low", "close"},
     row_params(MINUS_DI_PARAMS), {"out"}, invoke_entry<&MOVLEX_MINUS_DI>, invoke_lookback<&minus_di_lookback>,
     OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&minus_di_kernel>},
    {"dx", "MOVLEX_DX", "Directional movement index", {"high", "low", "close"}, row_params(DX_PARAMS), {"out"},
     invoke_entry<&MOVLEX_DX>, invoke_lookback<&dx_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&dx_kernel>},
    {"adx", "MOVLEX_ADX", "Average directional movement index", {"high", "low", "close"}, row_params(ADX_PARAMS),
     {"out"}, invoke_entry<&MOVLEX_ADX>, invoke_lookback<&adx_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&adx_kernel>},
    {"adxr", "MOVLEX_ADXR", "Average directional movement index rating", {"high", "low", "close"},
     row_params(ADXR_PARAMS), {"out"}, invoke_entry<&MOVLEX_ADXR>, invoke_lookback<&adxr_lookback>, OUTPUT_MAY_BE_INPUT,
     PANEL,
     stream_of<&adxr_kernel>},
    {"trange", "MOVLEX_TRANGE", "True range", {"high", "low", "close"}, {}, {"out"}, invoke_entry<&MOVLEX_TRANGE>,
     invoke_lookback<&trange_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&trange_kernel>},
    {"atr", "MOVLEX_ATR", "Average true range", {"high", "low", "close"}, row_params(ATR_PARAMS), {"out"},
     invoke_entry<&MOVLEX_ATR>, invoke_lookback<&atr_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&atr_kernel>},
    {"natr", "MOVLEX_NATR", "Normalised average true range", {"high", "low", "close"}, row_params(NATR_PARAMS), {"out"},
     invoke_entry<&MOVLEX_NATR>, invoke_lookback<&natr_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&natr_kernel>},
    {"sar", "MOVLEX_SAR", "Parabolic stop and reverse", {"high", "low"}, row_params(SAR_PARAMS), {"out"},
     invoke_entry<&MOVLEX_SAR>, invoke_lookback<&sar_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&sar_kernel>},
    // Statistics and bands
    {"max", "MOVLEX_MAX", "Highest value over a period", {"input"}, row_params(HIGHEST_PARAMS), {"out"},
     invoke_entry<&MOVLEX_MAX>, invoke_lookback<&max_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&max_kernel>},
    {"min", "MOVLEX_MIN", "Lowest value over a period", {"input"}, row_params(LOWEST_PARAMS), {"out"},
     invoke_entry<&MOVLEX_MIN>, invoke_lookback<&min_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&min_kernel>},
    {"var", "MOVLEX_VAR", "Population variance (deviations is accepted and ignored)", {"input"}, row_params(VAR_PARAMS),
     {"out"}, invoke_entry<&MOVLEX_VAR>, invoke_lookback<&var_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&var_kernel>},
    {"stddev", "MOVLEX_STDDEV", "Population standard deviation times a factor", {"input"}, row_params(STDDEV_PARAMS),
     {"out"}, invoke_entry<&MOVLEX_STDDEV>, invoke_lookback<&stddev_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&stddev_kernel>},
    {"bbands", "MOVLEX_BBANDS", "Bollinger bands", {"input"}, row_params(BBANDS_PARAMS), {"upper", "middle", "lower"},
     invoke_entry<&MOVLEX_BBANDS>, invoke_lookback<&bbands_lookback>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&bbands_kernel>},
    // Volume
    {"ad", "MOVLEX_AD", "Accumulation/distribution line", {"high", "low", "close", "volume"}, {}, {"out"},
     invoke_entry<&MOVLEX_AD>, invoke_lookback<&ad_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&ad_kernel>},
    {"adosc", "MOVLEX_ADOSC", "Accumulation/distribution oscillator", {"high", "low", "close", "volume"},
     row_params(ADOSC_PARAMS), {"out"}, invoke_entry<&MOVLEX_ADOSC>, invoke_lookback<&adosc_lookback>,
     OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&adosc_kernel>},
    {"obv", "MOVLEX_OBV", "On-balance volume", {"input", "volume"}, {}, {"out"}, invoke_entry<&MOVLEX_OBV>,
     invoke_lookback<&obv_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&obv_kernel>},
    {"mfi", "MOVLEX_MFI", "Money-flow index", {"high", "low", "close", "volume"}, row_params(MFI_PARAMS), {"out"},
     invoke_entry<&MOVLEX_MFI>, invoke_lookback<&mfi_lookback>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&mfi_kernel>},

    // ---- The extended set (libmovlex, movlex_extended.h) ----
    // Averages and overlays
    {"hma", "movlex_hma", "Hull moving average", {"input"}, row_params(HMA_PARAMS), {"out"},
     invoke_entry<&movlex_hma>, extended_lookback<&hma_kernel>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&hma_kernel>, EXTENDED},
    {"zlema", "movlex_zlema", "Zero-lag exponential moving average", {"input"}, row_params(ZLEMA_PARAMS), {"out"},
     invoke_entry<&movlex_zlema>, extended_lookback<&zlema_kernel>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&zlema_kernel>, EXTENDED},
    {"vwma", "movlex_vwma", "Volume-weighted moving average", {"input", "volume"}, row_params(VWMA_PARAMS), {"out"},
     invoke_entry<&movlex_vwma>, extended_lookback<&vwma_kernel>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&vwma_kernel>, EXTENDED},
    {"vwap", "movlex_vwap", "Volume-weighted average price from the first bar", {"high", "low", "close", "volume"},
     {}, {"out"}, invoke_entry<&movlex_vwap>, extended_lookback<&vwap_kernel>, OUTPUT_MAY_BE_INPUT,
     OVERLAY, stream_of<&vwap_kernel>, EXTENDED},
    {"vwap_rolling", "movlex_vwap_rolling", "Volume-weighted average price over a period",
     {"high", "low", "close", "volume"}, row_params(VWAP_ROLLING_PARAMS), {"out"}, invoke_entry<&movlex_vwap_rolling>,
     extended_lookback<&vwap_rolling_kernel>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&vwap_rolling_kernel>, EXTENDED},
    {"alma", "movlex_alma", "Arnaud Legoux moving average", {"input"}, row_params(ALMA_PARAMS), {"out"},
     invoke_entry<&movlex_alma>, extended_lookback<&alma_kernel>, OUTPUT_MAY_BE_INPUT, OVERLAY,
     stream_of<&alma_kernel>, EXTENDED},
    {"keltner", "movlex_keltner", "Keltner channels", {"high", "low", "close"}, row_params(KELTNER_PARAMS),
     {"upper", "middle", "lower"}, invoke_entry<&movlex_keltner>, extended_lookback<&keltner_kernel>,
     OUTPUT_MAY_BE_INPUT, OVERLAY, stream_of<&keltner_kernel>, EXTENDED},
    {"donchian", "movlex_donchian", "Donchian channels", {"high", "low"}, row_params(DONCHIAN_PARAMS),
     {"upper", "middle", "lower"}, invoke_entry<&movlex_donchian>,
     extended_lookback<&donchian_kernel>, OUTPUT_MAY_BE_INPUT, OVERLAY, stream_of<&donchian_kernel>,
     EXTENDED},
    {"ichimoku", "movlex_ichimoku", "Ichimoku cloud", {"high", "low", "close"}, row_params(ICHIMOKU_PARAMS),
     {"conversion", "base", "span_a", "span_b", "lagging"}, invoke_entry<&movlex_ichimoku>,
     extended_lookback<&ichimoku_kernel>, OUTPUT_MAY_BE_INPUT, OVERLAY, stream_of<&ichimoku_kernel>,
     EXTENDED},
    {"supertrend", "movlex_supertrend", "SuperTrend", {"high", "low", "close"}, row_params(SUPERTREND_PARAMS),
     {"line", "direction"}, invoke_entry<&movlex_supertrend>, extended_lookback<&supertrend_kernel>,
     OUTPUT_MAY_BE_INPUT, OVERLAY, stream_of<&supertrend_kernel>, EXTENDED, SUPERTREND_PLACEMENTS},
    {"chandelier", "movlex_chandelier", "Chandelier exit", {"high", "low", "close"}, row_params(CHANDELIER_PARAMS),
     {"long", "short"}, invoke_entry<&movlex_chandelier>, extended_lookback<&chandelier_kernel>,
     OUTPUT_MAY_BE_INPUT, OVERLAY, stream_of<&chandelier_kernel>, EXTENDED},
    // Momentum and oscillators
    {"trix", "movlex_trix", "TRIX: rate of change of a triple EMA", {"input"}, row_params(TRIX_PARAMS), {"out"},
     invoke_entry<&movlex_trix>, extended_lookback<&trix_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&trix_kernel>, EXTENDED},
    {"tsi", "movlex_tsi", "True strength index", {"input"}, row_params(TSI_PARAMS), {"out"},
     invoke_entry<&movlex_tsi>, extended_lookback<&tsi_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&tsi_kernel>, EXTENDED},
    {"kst", "movlex_kst", "Know-sure-thing and its signal", {"input"}, row_params(KST_PARAMS), {"kst", "signal"},
     invoke_entry<&movlex_kst>, extended_lookback<&kst_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&kst_kernel>, EXTENDED},
    {"dpo", "movlex_dpo", "Detrended price oscillator", {"input"}, row_params(DPO_PARAMS), {"out"},
     invoke_entry<&movlex_dpo>, extended_lookback<&dpo_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&dpo_kernel>, EXTENDED},
    {"coppock", "movlex_coppock", "Coppock curve", {"input"}, row_params(COPPOCK_PARAMS), {"out"},
     invoke_entry<&movlex_coppock>, extended_lookback<&coppock_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&coppock_kernel>, EXTENDED},
    {"ao", "movlex_ao", "Awesome oscillator", {"high", "low"}, row_params(AO_PARAMS), {"out"},
     invoke_entry<&movlex_ao>, extended_lookback<&ao_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&ao_kernel>, EXTENDED},
    {"fisher", "movlex_fisher", "Fisher transform and its trigger", {"high", "low"}, row_params(FISHER_PARAMS),
     {"fisher", "trigger"}, invoke_entry<&movlex_fisher>, extended_lookback<&fisher_kernel>,
     OUTPUT_MAY_BE_INPUT, PANEL, stream_of<&fisher_kernel>, EXTENDED},
    {"vortex", "movlex_vortex", "Vortex indicator", {"high", "low", "close"}, row_params(VORTEX_PARAMS),
     {"plus_vi", "minus_vi"}, invoke_entry<&movlex_vortex>, extended_lookback<&vortex_kernel>,
     OUTPUT_MAY_BE_INPUT, PANEL, stream_of<&vortex_kernel>, EXTENDED},
    {"bull_bear_power", "movlex_bull_bear_power", "Bull and bear power", {"high", "low", "close"},
     row_params(BULL_BEAR_POWER_PARAMS), {"bull", "bear"}, invoke_entry<&movlex_bull_bear_power>,
     extended_lookback<&bull_bear_power_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&bull_bear_power_kernel>, EXTENDED},
    {"pvo", "movlex_pvo", "Percentage volume oscillator", {"volume"}, row_params(PVO_PARAMS),
     {"pvo", "signal", "hist"}, invoke_entry<&movlex_pvo>, extended_lookback<&pvo_kernel>,
     OUTPUT_MAY_BE_INPUT, PANEL, stream_of<&pvo_kernel>, EXTENDED},
    {"mass_index", "movlex_mass_index", "Mass index", {"high", "low"}, row_params(MASS_INDEX_PARAMS), {"out"},
     invoke_entry<&movlex_mass_index>, extended_lookback<&mass_index_kernel>,
     OUTPUT_MAY_BE_INPUT, PANEL, stream_of<&mass_index_kernel>, EXTENDED},
    {"chaikin_volatility", "movlex_chaikin_volatility", "Chaikin volatility", {"high", "low"},
     row_params(CHAIKIN_VOLATILITY_PARAMS), {"out"}, invoke_entry<&movlex_chaikin_volatility>,
     extended_lookback<&chaikin_volatility_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&chaikin_volatility_kernel>, EXTENDED},
    // Volume
    {"cmf", "movlex_cmf", "Chaikin money flow", {"high", "low", "close", "volume"}, row_params(CMF_PARAMS), {"out"},
     invoke_entry<&movlex_cmf>, extended_lookback<&cmf_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&cmf_kernel>, EXTENDED},
    {"force", "movlex_force", "Force index", {"close", "volume"}, row_params(FORCE_PARAMS), {"out"},
     invoke_entry<&movlex_force>, extended_lookback<&force_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&force_kernel>, EXTENDED},
    {"emv", "movlex_emv", "Ease of movement", {"high", "low", "volume"}, row_params(EMV_PARAMS), {"out"},
     invoke_entry<&movlex_emv>, extended_lookback<&emv_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&emv_kernel>, EXTENDED},
    {"wad", "movlex_wad", "Williams accumulation/distribution", {"high", "low", "close"}, {}, {"out"},
     invoke_entry<&movlex_wad>, extended_lookback<&wad_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&wad_kernel>, EXTENDED},
    // Statistics
    {"linreg", "movlex_linreg", "Linear regression over a window", {"input"}, row_params(LINREG_PARAMS),
     {"value", "slope", "intercept", "angle", "forecast", "stderr"}, invoke_entry<&movlex_linreg>,
     extended_lookback<&linreg_kernel>, OUTPUT_MAY_BE_INPUT, PANEL, stream_of<&linreg_kernel>,
     EXTENDED},
    {"correl", "movlex_correl", "Pearson correlation of two series", {"input", "other"}, row_params(CORREL_PARAMS),
     {"out"}, invoke_entry<&movlex_correl>, extended_lookback<&correl_kernel>, OUTPUT_MAY_BE_INPUT,
     PANEL, stream_of<&correl_kernel>, EXTENDED},
    {"beta", "movlex_beta", "Beta of one series on another", {"input", "other"}, row_params(BETA_PARAMS), {"out"},
     invoke_entry<&movlex_beta>, extended_lookback<&beta_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&beta_kernel>, EXTENDED},
    {"zscore", "movlex_zscore", "Z-score over a window", {"input"}, row_params(ZSCORE_PARAMS), {"out"},
     invoke_entry<&movlex_zscore>, extended_lookback<&zscore_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&zscore_kernel>, EXTENDED},
    {"percentrank", "movlex_percentrank", "Percent rank against the previous values", {"input"},
     row_params(PERCENT_RANK_PARAMS), {"out"}, invoke_entry<&movlex_percentrank>,
     extended_lookback<&percent_rank_kernel>, OUTPUT_MAY_BE_INPUT, PANEL,
     stream_of<&percent_rank_kernel>, EXTENDED},
    // Candlestick patterns (docs/patterns.md)
    MOVLEX_CANDLE_PATTERN_LIST(MOVLEX_CANDLE_ROW)
};

}  // namespace

std::span<const IndicatorInfo> indicator_table() { return table; }

const ParamInfo* declared_params_of(std::int32_t (*lookback)(const double*), int& count) {
    for (const IndicatorInfo& info : table)
        if (info.lookback == lookback) {
            count = info.param_count();
            return info.params.data();
        }
    count = 0;
    return nullptr;
}

const IndicatorInfo* find_indicator(std::string_view name) {
    for (const IndicatorInfo& info : table)
        if (name == info.name) return &info;
    return nullptr;
}

}  // namespace movlex
