// Streams against the functions, and their copies and saved states.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as movlex from '../src/index.js';
import { prices } from './support/prices.js';

const bars = prices(400);
const inputsOf = (info) => info.inputs.map((input) => bars[input === 'input' ? 'close' : input === 'other' ? 'open' : input]);
const className = (info) => info.name.toUpperCase();

test('every stream gives the function\'s bits, bar by bar and many at once, also after a copy and a restore', () => {
  for (const info of movlex.indicators) {
    const Stream = movlex.stream[className(info)];
    const expected = movlex[info.name](...inputsOf(info));
    const series = inputsOf(info);
    const half = 250;
    const stream = new Stream();
    const first = stream.updateMany(...series.map((values) => values.subarray(0, half)));
    const copy = stream.copy();
    const restored = Stream.fromState(stream.save());
    assert.equal(restored.bars, half, info.name);
    const rest = [stream, copy, restored].map((s) => s.updateMany(...series.map((values) => values.subarray(half))));
    const joined = (part1, part2) => {
      const whole = new Float64Array(part1.length + part2.length);
      whole.set(part1);
      whole.set(part2, part1.length);
      return whole;
    };
    for (const second of rest) {
      if (expected instanceof Float64Array) assert.deepEqual(joined(first, second), expected, info.name);
      else for (const key of Object.keys(expected)) assert.deepEqual(joined(first[key], second[key]), expected[key], `${info.name}.${key}`);
    }
    // One more bar, one at a time, on the stream that has seen them all.
    const last = stream.update(...series.map((values) => values[0]));
    assert.ok(last === null || typeof last === 'number' || typeof last === 'object', info.name);
    for (const s of [stream, copy, restored]) s.free();
  }
});

test('update returns null before the first value, then a number or named numbers', () => {
  const rsi = new movlex.stream.RSI({ period: 3 });
  movlex.shutdown();
  const sma = new movlex.stream.SMA({ period: 2 });
  const bands = new movlex.stream.BBANDS({ period: 2 });
  movlex.initialize();
  assert.equal(rsi.update(1), null);
  assert.equal(sma.update(1), null);
  assert.equal(sma.update(2), 1.5);
  assert.equal(bands.update(1), null);
  assert.deepEqual(Object.keys(bands.update(3)), ['upper', 'middle', 'lower']);
  assert.equal(bands.update(3).middle, 3);
  assert.throws(() => sma.update(), { name: 'TypeError', message: 'sma: a bar has 1 input(s), got 0' });
  assert.throws(() => new movlex.stream.RSI({ period: 0 }), { name: 'RangeError', message: 'rsi: period=0 is out of range 2..100000' });
  sma.free();
  assert.throws(() => sma.update(1), /freed/);
});

test('states restore into their own class only, and broken states are refused', () => {
  const rsi = new movlex.stream.RSI({ period: 5 });
  rsi.updateMany(bars.close.subarray(0, 50));
  const state = rsi.save();
  assert.ok(movlex.stream.fromState(state) instanceof movlex.stream.RSI);
  assert.throws(() => movlex.stream.SMA.fromState(state), { name: 'RangeError', message: /one of rsi/ });
  const broken = state.slice();
  broken[broken.length - 6] ^= 1;
  assert.throws(() => movlex.stream.fromState(broken), { name: 'RangeError' });
  assert.throws(() => movlex.stream.fromState([1, 2]), { name: 'TypeError' });
});
