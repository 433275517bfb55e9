// The WebAssembly module, loaded once, and the indicator table it holds.
import createMovlexModule from '../generated/movlex_wasm.mjs';

export const wasm = await createMovlexModule();

// { maxParams, maTypes: ['sma', ...], indicators: [{ name, entry, summary, inputs, outputs, params, placement, outputPlacements, set }] }
export const table = JSON.parse(wasm.UTF8ToString(wasm._movlex_js_table()));

// The most parameters a row takes: the size of every parameter block handed
// to the module.
export const MAX_PARAMS = table.maxParams;

// Result codes of the C entries that a caller can meet.
const CODES = { 2: 'a bad argument', 3: 'no memory', 12: 'first index out of range', 13: 'last index out of range' };

export function failure(name, code) {
  if (code === 3) return new RangeError(`${name}: out of memory`);
  return new Error(`${name}: failed with code ${code}${CODES[code] ? ` (${CODES[code]})` : ''}`);
}

// Runs `work(heap)` with `bytes` bytes of the module's heap at heap.pointer,
// released afterwards whatever happens.
export function withHeap(bytes, work) {
  const pointer = wasm._malloc(Math.max(bytes, 8));
  if (pointer === 0) throw new RangeError(`movlex: no memory for ${bytes} bytes`);
  try {
    return work(pointer);
  } finally {
    wasm._free(pointer);
  }
}

// A JavaScript name of a table name: fast_period -> fastPeriod.
export function camelCase(name) {
  return name.replace(/_([a-z0-9])/g, (_, letter) => letter.toUpperCase());
}

// The JavaScript name of an output: out_aroon_down -> aroonDown.
export function outputName(name) {
  return camelCase(name.replace(/^out_/, ''));
}

// A copy of heap values begin .. end - 1 in a new array of their own (one
// memcpy; slice() on the heap goes value by value).
export function copyOut(heap, begin, end) {
  const values = new heap.constructor(end - begin);
  values.set(heap.subarray(begin, end));
  return values;
}
