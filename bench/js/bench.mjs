// ns per value over 1,000,000 price-like bars (price_walk.mjs, the walk of
// the native benchmarks, bar for bar): the movlex WebAssembly package, the
// native library (bench/js/native_timing.cpp, through movlex_table_timing)
// and the JavaScript indicator packages installed here (package-lock.json).
//
//   node bench/js/bench.mjs NATIVE_BUILD_DIR     (after npm ci in bench/js)
//
// Each figure is the best of several runs of one call over the whole series
// (streams: one update per bar), with the defaults of each library except
// the periods, which are set alike where the call takes them.
import { execFileSync } from 'node:child_process';
import { mkdtempSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import * as movlex from '../../js/src/index.js';
import { priceWalk } from './price_walk.mjs';

const BARS = 1_000_000;
const require = createRequire(import.meta.url);
const bars = priceWalk(BARS);
const { open, high, low, close, volume } = bars;
const plain = { high: Array.from(high), low: Array.from(low), close: Array.from(close) };

function best(run, times = 3) {
  let fastest = Infinity;
  for (let k = 0; k < times; ++k) {
    const start = process.hrtime.bigint();
    run();
    fastest = Math.min(fastest, Number(process.hrtime.bigint() - start) / BARS);
  }
  return fastest;
}

// A package's figure, or why there is none: calls are the obvious ones,
// and one that fails is left out rather than looked up.
function timed(run) {
  try {
    run();
    return best(run);
  } catch (error) {
    return `n/a (${error.message.split('\n')[0].slice(0, 40)})`;
  }
}

const rows = {
  sma: { movlex: () => movlex.sma(close, { period: 20 }) },
  ema: { movlex: () => movlex.ema(close, { period: 20 }) },
  rsi: { movlex: () => movlex.rsi(close, { period: 14 }) },
  bbands: { movlex: () => movlex.bbands(close, { period: 20 }) },
  atr: { movlex: () => movlex.atr(high, low, close, { period: 14 }) },
  macd: { movlex: () => movlex.macd(close) },
  stoch: { movlex: () => movlex.stoch(high, low, close) },
};

const ti = require('technicalindicators');
const tiRows = {
  sma: () => ti.SMA.calculate({ period: 20, values: plain.close }),
  ema: () => ti.EMA.calculate({ period: 20, values: plain.close }),
  rsi: () => ti.RSI.calculate({ period: 14, values: plain.close }),
  bbands: () => ti.BollingerBands.calculate({ period: 20, stdDev: 2, values: plain.close }),
  atr: () => ti.ATR.calculate({ period: 14, high: plain.high, low: plain.low, close: plain.close }),
  macd: () => ti.MACD.calculate({ values: plain.close, fastPeriod: 12, slowPeriod: 26, signalPeriod: 9, SimpleMAOscillator: false, SimpleMASignal: false }),
  stoch: () => ti.Stochastic.calculate({ period: 5, signalPeriod: 3, high: plain.high, low: plain.low, close: plain.close }),
};

const ts = require('trading-signals');
const feed = (indicator, values) => () => {
  const it = indicator();
  const step = typeof it.add === 'function' ? it.add.bind(it) : it.update.bind(it);
  for (let t = 0; t < values.length; ++t) step(values[t]);
};
const candles = Array.from(close, (c, t) => ({ high: high[t], low: low[t], close: c }));
const tsRows = {
  sma: feed(() => new ts.SMA(20), plain.close),
  ema: feed(() => new ts.EMA(20), plain.close),
  rsi: feed(() => new ts.RSI(14), plain.close),
  bbands: feed(() => new ts.BollingerBands(20, 2), plain.close),
  atr: feed(() => new ts.ATR(14), candles),
  macd: feed(() => new ts.MACD({ indicator: ts.EMA, longInterval: 26, shortInterval: 12, signalInterval: 9 }), plain.close),
  stoch: feed(() => new ts.StochasticOscillator(5, 3, 3), candles),
};

const it = require('indicatorts');
const itRows = {
  sma: () => it.sma(plain.close, { period: 20 }),
  ema: () => it.ema(plain.close, { period: 20 }),
  rsi: () => it.rsi(plain.close, { period: 14 }),
  bbands: () => it.bb(plain.close, { period: 20 }),
  atr: () => it.atr(plain.high, plain.low, plain.close, { period: 14 }),
  macd: () => it.macd(plain.close),
  stoch: () => it.stoch(plain.high, plain.low, plain.close),
};

// The native library over the same bars.
const folder = mkdtempSync(join(tmpdir(), 'movlex-bench-'));
const file = join(folder, 'bars.f64');
const all = new Float64Array(5 * BARS);
[open, high, low, close, volume].forEach((series, c) => all.set(series, c * BARS));
writeFileSync(file, new Uint8Array(all.buffer));
const build = process.argv[2] ?? 'build-js';
const native = Object.fromEntries(
  execFileSync(join(build, 'tools', 'movlex_table_timing'), [file, ...Object.keys(rows)], { encoding: 'utf8' })
    .trim().split('\n').map((line) => line.split(' ')).map(([name, ns]) => [name, Number(ns)]));

// WebAssembly code starts in V8's baseline tier and is optimised once it has
// run enough; a run on one long series would stay in the baseline tier, so
// every movlex function first runs many times over short series.
const short = priceWalk(5000);
for (let k = 0; k < 300; ++k) {
  movlex.sma(short.close, { period: 20 }); movlex.ema(short.close, { period: 20 }); movlex.rsi(short.close, { period: 14 });
  movlex.bbands(short.close, { period: 20 }); movlex.atr(short.high, short.low, short.close, { period: 14 });
  movlex.macd(short.close); movlex.stoch(short.high, short.low, short.close);
}

const format = (value) => (typeof value === 'number' ? value.toFixed(2) : value);
console.log(`ns per value over ${BARS.toLocaleString('en')} bars (best of 3); wasm/native and fastest package/wasm as ratios\n`);
console.log('| indicator | movlex wasm | native | technicalindicators | trading-signals | indicatorts | wasm / native | fastest package / wasm |');
console.log('|---|---:|---:|---:|---:|---:|---:|---:|');
for (const name of Object.keys(rows)) {
  const wasm = best(rows[name].movlex, 7);
  const others = [timed(tiRows[name]), timed(tsRows[name]), timed(itRows[name])];
  const fastest = Math.min(...others.filter((value) => typeof value === 'number'));
  console.log(`| ${name} | ${format(wasm)} | ${format(native[name])} | ${others.map(format).join(' | ')} | ${(wasm / native[name]).toFixed(2)} | ${Number.isFinite(fastest) ? (fastest / wasm).toFixed(1) : 'n/a'} |`);
}
