// The generated functions against the entries they call, and their checks.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as movlex from '../src/index.js';
import { callEntry } from '../src/functions.js';
import { prices } from './support/prices.js';

const bars = prices(600);
const inputsOf = (info) => info.inputs.map((input) => bars[input === 'input' ? 'close' : input === 'other' ? 'open' : input]);
const defaults = (info) => info.params.map((param) => param.default);
const arraysOf = (result) => (result instanceof Float64Array ? [result] : Object.values(result));

test('every function gives, bar for bar, what its entry gives over the whole series, NaN before', () => {
  for (const info of movlex.indicators) {
    const result = movlex[info.name](...inputsOf(info));
    const entry = callEntry(info.name, 0, bars.close.length - 1, inputsOf(info), defaults(info));
    assert.equal(entry.code, 0, info.name);
    const arrays = arraysOf(result);
    assert.equal(arrays.length, info.outputs.length, info.name);
    arrays.forEach((values, o) => {
      assert.equal(values.length, bars.close.length, info.name);
      const expected = new Float64Array(values.length).fill(NaN);
      expected.set(entry.outputs[o], entry.begin);
      assert.deepEqual(values, expected, `${info.name} output ${o}`);
    });
  }
});

test('plain arrays, other typed arrays and an object of columns give the same bits', () => {
  const expected = movlex.stoch(bars.high, bars.low, bars.close, { fastKPeriod: 9 });
  assert.deepEqual(movlex.stoch(Array.from(bars.high), Array.from(bars.low), Array.from(bars.close), { fastKPeriod: 9 }), expected);
  assert.deepEqual(movlex.stoch(bars, { fastKPeriod: 9 }), expected);
  assert.deepEqual(movlex.sma(Float32Array.from([1, 2, 3, 4])), movlex.sma([1, 2, 3, 4]));
  assert.deepEqual(Object.keys(expected), ['k', 'd']);
});

test('moving-average types by name or code; no parameters and short series', () => {
  assert.deepEqual(movlex.apo(bars.close, { maType: 'EMA' }), movlex.apo(bars.close, { maType: 1 }));
  assert.deepEqual(movlex.sma([], { period: 3 }), new Float64Array(0));
  assert.deepEqual(movlex.sma([1, 2], { period: 3 }), Float64Array.of(NaN, NaN));
  assert.deepEqual(movlex.sma([1, 2, 3], { period: 3 }), Float64Array.of(NaN, NaN, 2));
});

test('bad parameters throw RangeError, wrong inputs and options TypeError, naming what is wrong', () => {
  const close = bars.close;
  const cases = [
    [() => movlex.rsi(close, { period: 1 }), RangeError, 'rsi: period=1 is out of range 2..100000'],
    [() => movlex.rsi(close, { period: 14.5 }), RangeError, 'rsi: period=14.5 is not a whole number'],
    [() => movlex.rsi(close, { period: NaN }), RangeError, 'rsi: period=NaN is out of range 2..100000'],
    [() => movlex.apo(close, { maType: 'hull' }), RangeError, /maType="hull" is not a moving-average type/],
    [() => movlex.apo(close, { maType: 9 }), RangeError, 'apo: maType=9 is out of range 0..8'],
    [() => movlex.bbands(close, { deviationsUp: -4e37 }), RangeError, /deviationsUp=-4e\+37 is out of range/],
    [() => movlex.rsi(close, { perod: 14 }), TypeError, "rsi: unknown parameter 'perod' (parameters: period)"],
    [() => movlex.rsi(close, { period: '14' }), TypeError, 'rsi: period must be a number, not string'],
    [() => movlex.rsi(close, 14), TypeError, 'rsi: options must be an object of parameters'],
    [() => movlex.rsi('close'), TypeError, /input 'close' must be a Float64Array/],
    [() => movlex.rsi([1, '2', 3]), TypeError, "rsi: input 'close' holds a string at index 1, not a number"],
    [() => movlex.rsi(), TypeError, 'rsi: expected 1 input series (close), got 0'],
    [() => movlex.atr(close, close), TypeError, /expected 3 input series/],
    [() => movlex.atr(close, close, close.subarray(1)), RangeError, /inputs differ in length/],
    [() => movlex.atr({ high: close, low: close }), TypeError, "atr: the bars have no column 'close'"],
  ];
  for (const [call, type, message] of cases) assert.throws(call, { name: type.name, message }, String(message));
});

test('shutdown and initialize switch the unstable period of the recursive indicators', () => {
  const first = (values) => values.findIndex((value) => !Number.isNaN(value));
  assert.equal(first(movlex.ema(bars.close, { period: 10 })), 159);
  movlex.shutdown();
  try {
    assert.equal(first(movlex.ema(bars.close, { period: 10 })), 9);
    assert.throws(() => movlex.shutdown(), /not initialised/);
  } finally {
    movlex.initialize();
  }
  assert.equal(first(movlex.ema(bars.close, { period: 10 })), 159);
});
