// Worked examples of the extended set's momentum indicators and
// oscillators. The fixture's values follow from each definition in
// docs/indicators.md, computed with exact fractions (the Fisher transform,
// whose logarithm has no exact value, in doubles in the order of its
// definition); the guards and the chosen alignments are shown on series whose
// results follow by hand. The table-driven tests (contract, streams, Python)
// cover every row besides.
#include <cmath>
#include <span>
#include <string_view>
#include <vector>

#include "api/indicator_table.hpp"
#include "movlex_extended.h"
#include "test_support.hpp"

namespace movlex::test {
namespace {

// The fixture: 20 bars of small whole numbers.
const std::vector<double> CLOSE{10, 11, 13, 12, 14, 15, 13, 16, 17, 16, 18, 20, 19, 21, 22, 20, 23, 24, 22, 25};
const std::vector<double> HIGH{11, 12, 14, 13, 15, 17, 15, 17, 18, 18, 19, 21, 21, 22, 24, 22, 24, 26, 24, 26};
const std::vector<double> LOW{9, 10, 11, 11, 12, 14, 12, 14, 16, 15, 16, 18, 18, 19, 21, 19, 21, 22, 21, 23};

struct Series {
    std::vector<double> high, low, close, volume;
    const double* named(std::string_view name) const {
        if (name == "high") return high.data();
        if (name == "low") return low.data();
        if (name == "volume") return volume.data();
        return close.data();  // "input" and "close"
    }
};

struct RowRun {
    RetCode code = RC_OK;
    std::int32_t begin = -1, count = -1;
    std::vector<std::vector<double>> outs;
};

// Runs the indicator's row over the whole series.
RowRun run_row(std::string_view name, const Series& series, std::span<const double> params) {
    const IndicatorInfo* info = find_indicator(name);
    EXPECT_NE(info, nullptr) << name;
    if (info == nullptr) return {};
    const std::size_t size = series.close.size();
    RowRun run;
    run.outs.assign(std::size_t(info->output_count()), std::vector<double>(size, -1.0));
    Request request;
    request.first_index = 0;
    request.last_index = std::int32_t(size) - 1;
    for (int k = 0; k < info->input_count(); ++k) request.inputs[k] = series.named(info->inputs[k]);
    for (std::size_t p = 0; p < params.size(); ++p) request.params[p] = params[p];
    request.out_begin = &run.begin;
    request.out_count = &run.count;
    for (std::size_t k = 0; k < run.outs.size(); ++k) request.outputs[k] = run.outs[k].data();
    run.code = info->invoke(request);
    for (auto& out : run.outs) out.resize(std::size_t(std::max(run.count, 0)));
    return run;
}

// The row's declared defaults.
std::vector<double> defaults_of(std::string_view name) {
    const IndicatorInfo* info = find_indicator(name);
    std::vector<double> params;
    for (int p = 0; p < info->param_count(); ++p) params.push_back(info->params[p].default_value);
    return params;
}

void expect_close(const std::vector<double>& expected, const std::vector<double>& actual, std::string_view what) {
    ASSERT_EQ(actual.size(), expected.size()) << what;
    SCOPED_TRACE(what);
    expect_near_values(actual.data(), expected);
}

struct WorkedExample {
    const char* name;
    std::vector<double> params;
    std::int32_t begin;
    std::vector<std::vector<double>> outs;  // from bar `begin` to the last
};

// Small periods, so that the fixture reaches well past each warm-up. KST's
// signal is SMA(9), fixed: its outputs start at bar max(4 + 3 - 1, 3 + 2 - 1)
// + 8 = 14.
const WorkedExample WORKED_EXAMPLES[] = {
    {"trix", {2}, 4, {{7.288888888888889, 8.030930682132007, 1.0532235799376246, 5.377631615931641, 7.106212645793656, 3.144201954126993, 4.830274014326244, 7.447645886872611, 3.9353643189450254, 4.9236464165080465, 5.253590868455, 0.7278549969865794, 3.5598342268283303, 4.774234658372457, 0.8303462202855613, 3.390900717955008}}},
    {"tsi", {3, 2}, 4, {{66.66666666666667, 80.0, 5.882352941176471, 42.87833827893175, 58.80843785632839, 26.996088357109986, 51.31433954215839, 73.2105511247887, 39.32051348547718, 57.82933243431981, 70.75785110331, 1.924651748906665, 40.82029735403308, 57.452329438327446, 3.162486295193247, 39.3967842596842}}},
    {"kst", {1, 2, 3, 4, 2, 3}, 14, {{155.41615476599998, 103.05409989620516, 82.6183514341409, 109.25923999722627, 89.41357841243425, 82.89478637304724}, {161.24374265671136, 155.78786379439975, 150.38396187003, 144.01901037874364, 135.34571900025978, 127.74525861633816}}},
    {"dpo", {4}, 6, {{1.5, 3.5, 3.5, 2.5, 3.5, 4.75, 3.5, 4.25, 4.25, 1.75, 3.5, 3.5, 1.5, 3.5}}},
    {"coppock", {3, 2, 3}, 5, {{36.69580419580419, 19.884282384282383, 17.603785103785103, 29.233821733821735, 29.731379731379732, 24.233911513323278, 31.297134238310708, 29.43218954248366, 26.043028322440087, 24.167884990253413, 12.458228905597327, 11.499962026277815, 19.318751424014582, 14.86793399836878, 13.163702239789197}}},
    {"ao", {2, 4}, 3, {{0.875, 0.5, 1.125, 0.875, 0.0, 0.875, 1.125, 0.375, 0.875, 1.25, 0.75, 1.0, 0.75, 0.0, 0.875, 0.875, 0.125}}},
    {"vortex", {3}, 3, {{1.2857142857142858, 1.25, 1.375, 1.1111111111111112, 1.1, 1.1111111111111112, 1.2222222222222223, 1.25, 1.2222222222222223, 1.3333333333333333, 1.3333333333333333, 1.3333333333333333, 1.1111111111111112, 1.1, 1.0, 1.0909090909090908, 1.0909090909090908}, {0.7142857142857143, 0.625, 0.625, 0.7777777777777778, 0.7, 0.7777777777777778, 0.5555555555555556, 0.75, 0.6666666666666666, 0.6666666666666666, 0.6666666666666666, 0.6666666666666666, 0.8888888888888888, 0.7, 0.7272727272727273, 0.7272727272727273, 0.7272727272727273}}},
    {"bull_bear_power", {3}, 2, {{2.6666666666666665, 1.3333333333333333, 2.1666666666666665, 3.0833333333333335, 1.5416666666666667, 2.2708333333333335, 2.1354166666666665, 2.0677083333333335, 2.0338541666666665, 2.5169270833333335, 2.2584635416666665, 2.1292317708333335, 3.0646158854166665, 1.5323079427083333, 2.2661539713541665, 3.1330769856770835, 1.5665384928385417, 2.283269246419271}, {-0.3333333333333333, -0.6666666666666666, -0.8333333333333334, 0.08333333333333333, -1.4583333333333333, -0.7291666666666666, 0.13541666666666666, -0.9322916666666666, -0.9661458333333334, -0.4830729166666667, -0.7415364583333334, -0.8707682291666666, 0.06461588541666667, -1.4676920572916667, -0.7338460286458334, -0.8669230143229166, -1.4334615071614583, -0.7167307535807291}}},
    {"mass_index", {2, 3}, 4, {{3.188664657171991, 3.085455091407359, 3.121142651677369, 3.067422804994003, 2.944486866685446, 2.9542063615249723, 2.9722939072685426, 3.0698246839797823, 3.047351347272399, 3.023565509527887, 3.0104530938421616, 3.004357252641927, 3.001745221819178, 3.0651917760126985, 3.0422967191740247, 3.0186047223404775}}},
    {"chaikin_volatility", {3, 2}, 4, {{10.714285714285714, 28.846153846153847, 12.096774193548388, 5.597014925373134, -14.568345323741006, -7.15547703180212, 15.947368421052632, 7.207421503330162, 3.4384929641398094, 1.6807188817395162, 0.8310477235326386, 0.4132344116523921, 0.20604956069961647, 16.79241310932131, 8.390451630416342, -10.69540909923451}}},
    // EMA(2) seeded at bar 1 with (10 + 11) / 2, EMA(3) at bar 2 with 34 / 3: the line 5/6, 7/18, 14/27,
    // 173/324, ...; the signal EMA(2) of the line, seeded with (5/6 + 7/18) / 2 = 11/18.
    {"macd_ema", {2, 3, 2}, 3, {{0.3888888888888889, 0.5185185185185185, 0.5339506172839507, 0.025205761316872428, 0.4320130315500686, 0.5224765660722451, 0.19672829980185946, 0.4101941554895087, 0.6423737462742807, 0.30027909598031577, 0.4765036222712164, 0.5137065025626277, 0.01533814842365367, 0.4271640399259401, 0.5200803418676745, 0.02887294490207205, 0.4373807304404476}, {0.6111111111111112, 0.5493827160493827, 0.5390946502057613, 0.19650205761316872, 0.35350937357110196, 0.46615416857186404, 0.2865369227251943, 0.36897507790140394, 0.5512408568166551, 0.38393301625909554, 0.4456467536005094, 0.4910199195752549, 0.17389873880752077, 0.34274227288646697, 0.460967652207272, 0.17290451400380535, 0.34922199162823353}, {-0.2222222222222222, -0.030864197530864196, -0.0051440329218107, -0.1712962962962963, 0.07850365797896662, 0.05632239750038104, -0.08980862292333486, 0.041219077588104794, 0.09113288945762558, -0.08365392027877977, 0.03085686867070694, 0.02268658298737275, -0.15856059038386708, 0.08442176703947311, 0.05911268966040249, -0.14403156910173331, 0.08815873881221409}}},
    {"fisher", {3}, 3, {{0.5154773146720025, 0.8787574892995704, 1.3061516045250772, 0.792797612170755, 0.8477501178966933, 1.1382551548923365, 1.1468235633920512, 1.4007840248277685, 1.7585865671140857, 2.157218562624263, 2.5694203589792313, 2.9840580348637147, 1.797892644340039, 1.4873804941727935, 1.5807995169446514, 0.9195777085183103, 0.9027198665404936}, {0.34282825441539394, 0.5154773146720025, 0.8787574892995704, 1.3061516045250772, 0.792797612170755, 0.8477501178966933, 1.1382551548923365, 1.1468235633920512, 1.4007840248277685, 1.7585865671140857, 2.157218562624263, 2.5694203589792313, 2.9840580348637147, 1.797892644340039, 1.4873804941727935, 1.5807995169446514, 0.9195777085183103}}},
};

TEST(ExtendedMomentum, WorkedExamplesFollowTheirDefinitions) {
    LibraryStateGuard state(false);
    const Series series{HIGH, LOW, CLOSE, {}};
    for (const WorkedExample& example : WORKED_EXAMPLES) {
        const RowRun run = run_row(example.name, series, example.params);
        ASSERT_EQ(run.code, RC_OK) << example.name;
        EXPECT_EQ(run.begin, example.begin) << example.name;
        for (std::size_t k = 0; k < example.outs.size(); ++k) expect_close(example.outs[k], run.outs[k], example.name);
    }
}

// Flat bars (high = low = close = volume = c) at the published defaults: no
// movement, no range and a zero reference give the documented guard values,
// never a NaN. The mass index sums ratios of equal averages, 1 each.
TEST(ExtendedMomentum, FlatBarsGiveTheGuardValues) {
    LibraryStateGuard state(false);
    struct Case {
        const char* name;
        std::vector<double> values;  // one per output
    };
    const Case cases[] = {
        {"trix", {0.0}},          {"tsi", {0.0}},           {"kst", {0.0, 0.0}},        {"dpo", {0.0}},
        {"coppock", {0.0}},       {"ao", {0.0}},            {"fisher", {0.0, 0.0}},     {"vortex", {0.0, 0.0}},
        {"bull_bear_power", {0.0, 0.0}}, {"pvo", {0.0, 0.0, 0.0}}, {"mass_index", {25.0}},
        {"chaikin_volatility", {0.0}}, {"macd_ema", {0.0, 0.0, 0.0}},
    };
    for (const double level : {0.0, 50.0}) {
        const std::vector<double> flat(120, level);
        const Series series{flat, flat, flat, flat};
        for (const Case& c : cases) {
            const RowRun run = run_row(c.name, series, defaults_of(c.name));
            ASSERT_EQ(run.code, RC_OK) << c.name;
            ASSERT_GT(run.count, 0) << c.name;
            for (std::size_t k = 0; k < c.values.size(); ++k)
                for (const double value : run.outs[k]) ASSERT_EQ(value, c.values[k]) << c.name << " level " << level;
        }
    }
}

// The detrended oscillator compares x[t] with SMA(n) of shift = n / 2 + 1
// bars earlier. On a line a + b t that average is a + b (t - shift - (n - 1)
// / 2), so every value is b (shift + (n - 1) / 2): 20.5 b for n = 20.
TEST(ExtendedMomentum, DetrendedOscillatorComparesWithTheShiftedAverage) {
    std::vector<double> line;
    for (int t = 0; t < 60; ++t) line.push_back(100.0 + 0.5 * t);
    std::vector<double> out(line.size());
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_dpo(0, 59, line.data(), 20, &begin, &count, out.data()), RC_OK);
    EXPECT_EQ(begin, 19 + 11);
    ASSERT_EQ(count, 60 - begin);
    for (int k = 0; k < count; ++k) EXPECT_NEAR(out[k], 20.5 * 0.5, 1e-12) << k;
}

// A median that rises every bar sits at the top of its window (position
// 0.5): v = 0.33 + 0.67 v' would tend to 1, and is held at 0.999, so the
// transform tends to log(1.999 / 0.001) = log(1999) and stays finite. The
// trigger is the previous bar's value, bit for bit.
TEST(ExtendedMomentum, FisherTransformIsClampedAndTriggeredByItsPreviousValue) {
    std::vector<double> high, low;
    for (int t = 0; t < 200; ++t) {
        high.push_back(10.0 + t);
        low.push_back(9.0 + t);
    }
    std::vector<double> fisher(200), trigger(200);
    std::int32_t begin = -1, count = -1;
    ASSERT_EQ(movlex_fisher(0, 199, high.data(), low.data(), 10, &begin, &count, fisher.data(), trigger.data()),
              RC_OK);
    EXPECT_EQ(begin, 10);
    EXPECT_NEAR(trigger[0], 0.5 * std::log(1.33 / 0.67), 1e-15);  // the first window's, v = 0.33
    for (int k = 0; k < count; ++k) {
        ASSERT_TRUE(std::isfinite(fisher[k])) << k;
        if (k > 0) {
            EXPECT_TRUE(same_bits(trigger[k], fisher[k - 1])) << k;
        }
    }
    EXPECT_NEAR(fisher[count - 1], std::log(1999.0), 1e-9);
}

// The classic MACD's line is APO over EMAs of the close, and the volume
// oscillator's PPO over EMAs of the volume; the signal is the EMA of that
// line, bit for bit, the histogram their difference; in both library states
// (the EMA's unstable period moves every stage).
TEST(ExtendedMomentum, SignalledOscillatorsAreThePriceOscillatorWithAnEmaSignal) {
    using Oscillator = RetCode(MOVLEX_CALL*)(std::int32_t, std::int32_t, const double*, std::int32_t, std::int32_t,
                                              MaType, std::int32_t*, std::int32_t*, double*);
    using Signalled = RetCode(MOVLEX_CALL*)(std::int32_t, std::int32_t, const double*, std::int32_t, std::int32_t,
                                             std::int32_t, std::int32_t*, std::int32_t*, double*, double*, double*);
    const Bars bars = make_bars(600, 7);
    const struct {
        const char* name;
        Signalled signalled;
        Oscillator oscillator;
        const std::vector<double>& input;
    } cases[] = {{"macd_ema", movlex_macd_ema, MOVLEX_APO, bars.close}, {"pvo", movlex_pvo, MOVLEX_PPO, bars.volume}};
    for (const auto& c : cases)
        for (const bool initialised : {false, true}) {
            LibraryStateGuard state(initialised);
            std::vector<double> line(600), signal(600), hist(600), oscillator(600), ema(600);
            std::int32_t begin = -1, count = -1, line_begin = -1, line_count = -1, ema_begin = -1, ema_count = -1;
            ASSERT_EQ(c.signalled(0, 599, c.input.data(), 12, 26, 9, &begin, &count, line.data(), signal.data(),
                                  hist.data()),
                      RC_OK);
            ASSERT_EQ(c.oscillator(0, 599, c.input.data(), 12, 26, MA_EMA, &line_begin, &line_count,
                                   oscillator.data()),
                      RC_OK);
            ASSERT_EQ(MOVLEX_EMA(0, line_count - 1, oscillator.data(), 9, &ema_begin, &ema_count, ema.data()), RC_OK);
            ASSERT_EQ(begin, line_begin + ema_begin) << c.name;
            ASSERT_EQ(count, ema_count) << c.name;
            const auto from_signal = oscillator.begin() + ema_begin;
            EXPECT_TRUE(same_values(std::vector<double>(from_signal, from_signal + count), line.data(),
                                    std::size_t(count)))
                << c.name;
            EXPECT_TRUE(same_values(std::vector<double>(ema.begin(), ema.begin() + count), signal.data(),
                                    std::size_t(count)))
                << c.name;
            for (int k = 0; k < count; ++k) EXPECT_TRUE(same_bits(hist[k], line[k] - signal[k])) << c.name << k;
        }
}

}  // namespace
}  // namespace movlex::test
