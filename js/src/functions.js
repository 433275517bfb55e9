// One function per indicator of the table: fn(...inputs, options) computes
// the whole series, as a C program calls the entry over indices 0 .. n - 1,
// and returns results as long as the inputs with NaN before the first value.
import { MAX_PARAMS, copyOut, failure, outputName, table, wasm, withHeap } from './module.js';
import { readInputs } from './inputs.js';
import { readParams } from './params.js';

// Outputs as returned: one Float64Array, or an object of them by output name.
export function outputsOf(info, arrays) {
  if (arrays.length === 1) return arrays[0];
  const named = {};
  info.outputs.forEach((name, o) => { named[outputName(name)] = arrays[o]; });
  return named;
}

// The inputs copied into the module's heap once, the entry run over them
// and each output copied out once.
function compute(number, info, series, params) {
  const bars = series.length ? series[0].length : 0;
  const outputCount = info.outputs.length;
  return withHeap(8 * MAX_PARAMS, (paramsAt) => {
    wasm.HEAPF64.set(params, paramsAt / 8);
    const lookback = wasm._movlex_js_lookback(number, paramsAt);
    if (lookback < 0) throw new RangeError(`${info.name}: parameters out of range`);
    const tail = lookback < bars ? lookback : 0;
    const bytes = 8 * (series.length * bars + outputCount * bars + tail);
    return withHeap(bytes, (block) => {
      const heap = wasm.HEAPF64;
      const inputsAt = block / 8;
      series.forEach((values, i) => heap.set(values, inputsAt + i * bars));
      const outAt = inputsAt + series.length * bars;
      const code = wasm._movlex_js_series(number, bars, block, paramsAt, lookback, outAt * 8);
      if (code === -1) throw new Error(`${info.entry} did not start its output at its lookback`);
      if (code !== 0) throw failure(info.name, code);
      const now = wasm.HEAPF64;
      const arrays = [];
      for (let o = 0; o < outputCount; ++o) arrays.push(copyOut(now, outAt + o * bars, outAt + (o + 1) * bars));
      return outputsOf(info, arrays);
    });
  });
}

export function indicatorFunction(name) {
  const number = table.indicators.findIndex((row) => row.name === name);
  if (number < 0) throw new Error(`movlex: no indicator '${name}'`);
  const info = table.indicators[number];
  const fn = (...args) => {
    const { series, rest } = readInputs(info, args);
    if (rest.length > 1) throw new TypeError(`${info.name}: too many arguments`);
    return compute(number, info, series, readParams(info, rest[0]));
  };
  Object.defineProperty(fn, 'name', { value: name });
  fn.info = info;
  return fn;
}

// One call of the entry as C makes it, for any range: { code, begin, count,
// outputs: [Float64Array of count values, ...] }. The parameters are doubles
// in table order, passed unchecked, as a C caller could.
export function callEntry(name, first, last, series, params) {
  const number = table.indicators.findIndex((row) => row.name === name);
  const info = table.indicators[number];
  const bars = series.length ? series[0].length : 0;
  const room = Math.max(0, last - first + 1);
  const pointers = info.inputs.length + info.outputs.length;
  const doubles = MAX_PARAMS + series.length * bars + info.outputs.length * room;
  return withHeap(8 * doubles + 4 * (pointers + 2), (block) => {
    const heap = wasm.HEAPF64;
    const at = block / 8;
    heap.set(params, at);
    const inputsAt = at + MAX_PARAMS;
    series.forEach((values, i) => heap.set(values, inputsAt + i * bars));
    const outAt = inputsAt + series.length * bars;
    const pointerAt = (block + 8 * doubles) / 4;
    const words = wasm.HEAP32;
    for (let i = 0; i < series.length; ++i) words[pointerAt + i] = 8 * (inputsAt + i * bars);
    const outputPointers = pointerAt + series.length;
    for (let o = 0; o < info.outputs.length; ++o) words[outputPointers + o] = 8 * (outAt + o * room);
    const resultAt = outputPointers + info.outputs.length;
    words[resultAt] = -1;
    words[resultAt + 1] = -1;
    const code = wasm._movlex_js_call(number, first, last, 4 * pointerAt, 8 * at, 4 * outputPointers, 4 * resultAt);
    const begin = wasm.HEAP32[resultAt];
    const count = wasm.HEAP32[resultAt + 1];
    const outputs = [];
    if (code === 0)
      for (let o = 0; o < info.outputs.length; ++o) outputs.push(copyOut(wasm.HEAPF64, outAt + o * room, outAt + o * room + count));
    return { code, begin, count, outputs };
  });
}
