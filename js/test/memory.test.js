// Nothing leaks: 100,000 calls of functions and streams leave the module's
// heap (which only grows) at the size it had after the first ones.
import assert from 'node:assert/strict';
import { test } from 'node:test';
import * as movlex from '../src/index.js';
import { prices } from './support/prices.js';

test('100,000 calls leave the heap as it was', () => {
  const bars = prices(2000);
  const round = () => {
    movlex.macd(bars.close);
    movlex.stoch(bars.high, bars.low, bars.close);
    const stream = new movlex.stream.ATR();
    stream.updateMany(bars.high, bars.low, bars.close);
    stream.copy().free();
    movlex.stream.fromState(stream.save()).free();
    stream.free();
    try { movlex.rsi(bars.close, { period: 0 }); } catch { /* refused before any allocation is kept */ }
  };
  for (let k = 0; k < 100; ++k) round();
  const before = movlex.heapSize();
  for (let k = 0; k < 100_000 / 7; ++k) round();
  assert.equal(movlex.heapSize(), before);
});
