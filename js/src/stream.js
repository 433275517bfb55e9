// Streams: one bar at a time, with exactly the bits the functions give at
// that bar. Each stream lives in the module's heap; it is released by
// free(), or when the object is garbage-collected.
import { MAX_PARAMS, copyOut, failure, table, wasm, withHeap } from './module.js';
import { outputsOf } from './functions.js';
import { readInputs } from './inputs.js';
import { readParams } from './params.js';

const released = new FinalizationRegistry((pointer) => wasm._movlex_stream_destroy(pointer));

// Room for one bar: inputs, outputs and the has-value flag after them,
// allocated once and sized from the table's widest rows.
const BAR_INPUTS = Math.max(...table.indicators.map((row) => row.inputs.length));
const BAR_OUTPUTS = Math.max(...table.indicators.map((row) => row.outputs.length));
const BAR_FLAG = 8 * (BAR_INPUTS + BAR_OUTPUTS);
const BAR = wasm._malloc(BAR_FLAG + 8);

const classes = new Map();

// A pointer written by the C API into the heap.
function made(work) {
  return withHeap(4, (slot) => {
    wasm.HEAP32[slot / 4] = 0;
    const code = work(slot);
    if (code !== 0) return { code, pointer: 0 };
    return { code, pointer: wasm.HEAP32[slot / 4] };
  });
}

export class Stream {
  #pointer = 0;

  // For a subclass: new movlex.stream.RSI({ period: 14 }).
  constructor(options, pointer = 0) {
    const number = this.constructor.number;
    if (number === undefined) throw new TypeError('movlex: make a stream of an indicator, e.g. new movlex.stream.RSI()');
    const info = table.indicators[number];
    if (pointer === 0) {
      const params = readParams(info, options);
      const result = withHeap(8 * MAX_PARAMS, (at) => {
        wasm.HEAPF64.set(params, at / 8);
        return made((slot) => wasm._movlex_stream_create(number, at, params.length, slot));
      });
      if (result.code !== 0) throw failure(info.name, result.code);
      pointer = result.pointer;
    }
    this.#pointer = pointer;
    released.register(this, pointer, this);
  }

  get info() {
    return table.indicators[this.constructor.number];
  }

  #live() {
    if (this.#pointer === 0) throw new Error(`${this.info.name}: the stream has been freed`);
    return this.#pointer;
  }

  // Feeds one bar (one number per input, in the order of the inputs); the
  // bar's value (an object of named values for several outputs), or null
  // while there is none yet.
  update(...values) {
    const info = this.info;
    if (values.length !== info.inputs.length)
      throw new TypeError(`${info.name}: a bar has ${info.inputs.length} input(s), got ${values.length}`);
    const heap = wasm.HEAPF64;
    const inputsAt = BAR / 8;
    for (let i = 0; i < values.length; ++i) {
      if (typeof values[i] !== 'number') throw new TypeError(`${info.name}: input ${i} must be a number`);
      heap[inputsAt + i] = values[i];
    }
    const outputsAt = inputsAt + BAR_INPUTS;
    const flag = BAR + BAR_FLAG;
    const code = wasm._movlex_stream_update(this.#live(), BAR, 8 * outputsAt, flag);
    if (code !== 0) throw failure(info.name, code);
    if (wasm.HEAP32[flag / 4] === 0) return null;
    const now = wasm.HEAPF64;
    if (info.outputs.length === 1) return now[outputsAt];
    return outputsOf(info, info.outputs.map((_, o) => now[outputsAt + o]));
  }

  // Feeds every bar of the input series (as the functions take them);
  // the outputs as the functions return them, NaN where there was no value.
  updateMany(...args) {
    const info = this.info;
    const { series, rest } = readInputs(info, args);
    if (rest.length > 0) throw new TypeError(`${info.name}: updateMany takes the input series only`);
    const bars = series.length ? series[0].length : 0;
    const outputCount = info.outputs.length;
    return withHeap(8 * (series.length + outputCount) * bars, (block) => {
      const at = block / 8;
      series.forEach((values, i) => wasm.HEAPF64.set(values, at + i * bars));
      const outAt = at + series.length * bars;
      const code = wasm._movlex_js_stream_feed(this.#live(), bars, block, 8 * outAt);
      if (code !== 0) throw failure(info.name, code);
      const now = wasm.HEAPF64;
      return outputsOf(info, info.outputs.map((_, o) => copyOut(now, outAt + o * bars, outAt + (o + 1) * bars)));
    });
  }

  // Bars fed so far.
  get bars() {
    return withHeap(8, (at) => {
      wasm._movlex_stream_bars(this.#live(), at);
      return Number(wasm.HEAP32[at / 4]) + 2 ** 32 * wasm.HEAP32[at / 4 + 1];
    });
  }

  // A new stream in the same state; both go on independently.
  copy() {
    const result = made((slot) => wasm._movlex_stream_copy(this.#live(), slot));
    if (result.code !== 0) throw failure(this.info.name, result.code);
    return new this.constructor(undefined, result.pointer);
  }

  // The state in the library's versioned byte format (as the native library saves it).
  save() {
    const pointer = this.#live();
    return withHeap(4, (sizeAt) => {
      wasm._movlex_stream_save(pointer, 0, 0, sizeAt);
      const size = wasm.HEAPU32[sizeAt / 4];
      return withHeap(size, (buffer) => {
        const code = wasm._movlex_stream_save(pointer, buffer, size, sizeAt);
        if (code !== 0) throw failure(this.info.name, code);
        return copyOut(wasm.HEAPU8, buffer, buffer + size);
      });
    });
  }

  // Releases the stream's memory now; the object is unusable afterwards.
  free() {
    if (this.#pointer === 0) return;
    released.unregister(this);
    wasm._movlex_stream_destroy(this.#pointer);
    this.#pointer = 0;
  }
}

// A stream restored from a saved state (of any indicator): an instance of
// that indicator's class.
export function fromState(bytes) {
  if (!(bytes instanceof Uint8Array)) throw new TypeError('movlex: a saved state is a Uint8Array');
  const result = withHeap(bytes.length, (buffer) => {
    wasm.HEAPU8.set(bytes, buffer);
    return made((slot) => wasm._movlex_stream_from_state(buffer, bytes.length, slot));
  });
  if (result.code !== 0) throw new RangeError(`movlex: the state cannot be restored (code ${result.code})`);
  const number = withHeap(4, (at) => {
    wasm._movlex_stream_indicator(result.pointer, at);
    return wasm.HEAP32[at / 4];
  });
  return new (streamClass(table.indicators[number].name))(undefined, result.pointer);
}

// The stream class of an indicator: class RSI extends Stream.
export function streamClass(name) {
  if (!classes.has(name)) {
    const number = table.indicators.findIndex((row) => row.name === name);
    if (number < 0) throw new Error(`movlex: no indicator '${name}'`);
    const made = { [name.toUpperCase()]: class extends Stream { static number = number; } }[name.toUpperCase()];
    made.fromState = (bytes) => {
      const stream = fromState(bytes);
      if (!(stream instanceof made)) {
        stream.free();
        throw new RangeError(`${name}: the state is one of ${stream.info?.name ?? 'another indicator'}`);
      }
      return stream;
    };
    classes.set(name, made);
  }
  return classes.get(name);
}
