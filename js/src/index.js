// movlex: technical-analysis indicators compiled to WebAssembly, with the
// bits of the native library. One function per indicator of the table
// (movlex.rsi(close, { period: 14 })), a stream class for each
// (new movlex.stream.RSI({ period: 14 })), and the library state.
//
// Loading the module calls MOVLEX_INIT, as the command-line tool and the
// Python package do: the recursive indicators (EMA, RSI, ATR, ADX, ...)
// start after their unstable period of 150 bars. shutdown() returns to the
// uninitialised state (no unstable period), initialize() back.
import { table, wasm } from './module.js';

export * from '../generated/indicators.js';
export * as stream from '../generated/streams.js';

// The indicator table: name, summary, inputs, outputs, parameters with kind,
// default and range, placement (overlay, panel or markers) and each output's (outputPlacements).
export const indicators = table.indicators;
export const maTypes = table.maTypes;

// MOVLEX_INIT: every unstable period becomes 150 (done on loading).
export function initialize() {
  wasm._MOVLEX_INIT();
}
export { initialize as init };

// MOVLEX_SHUTDOWN: the unstable periods go back to 0. Throws when the
// library is not initialised.
export function shutdown() {
  if (wasm._MOVLEX_SHUTDOWN() !== 0) throw new Error('movlex.shutdown(): the library is not initialised');
}

// Bytes of the module's heap: its memory only grows, so a steady value over
// many calls shows that nothing leaks.
export function heapSize() {
  return wasm.HEAPU8.length;
}

initialize();
