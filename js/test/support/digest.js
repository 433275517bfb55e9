// The results digest of tools/movlex_digest computed through the package:
// every table row over a price file with several parameter sets, in both
// library states, and every stream saved halfway; the same text, line for
// line, as the native program writes.
import { readFileSync } from 'node:fs';
import * as movlex from '../../src/index.js';
import { callEntry } from '../../src/functions.js';
import { fromState, streamClass } from '../../src/stream.js';
import { general17, hexDouble } from './c_format.js';

// The price columns of a CSV file by lower-case header name.
export function readPrices(path) {
  const lines = readFileSync(path, 'utf8').split(/\r?\n/).filter((line) => line.trim() !== '');
  const header = lines[0].split(',').map((name) => name.trim().toLowerCase());
  const columns = {};
  header.forEach((name, c) => { columns[name] = Float64Array.from(lines.slice(1), (line) => Number(line.split(',')[c])); });
  return columns;
}

// The column an input reads: the close for "input"; the second series of the
// two-series statistics ("other") reads the open.
const columnOf = (input) => (input === 'input' ? 'close' : input === 'other' ? 'open' : input);

const clamped = (param, value) => Math.min(Math.max(value, param.min), param.max);
const roundHalfAway = (value) => Math.sign(value) * Math.round(Math.abs(value));

function scaledParams(info, factor, maType) {
  return info.params.map((param) => {
    if (param.kind === 'integer') return clamped(param, roundHalfAway(param.default * factor));
    if (param.kind === 'real') return clamped(param, param.default * factor);
    return clamped(param, maType < 0 ? param.default : maType);
  });
}

function callsOf(info, bars) {
  const last = bars - 1;
  const calls = [
    ['defaults', scaledParams(info, 1, -1), 0, last],
    ['shorter', scaledParams(info, 0.5, 1), 0, last],
    ['longer', scaledParams(info, 1.5, 2), 0, last],
    ['defaults-part', scaledParams(info, 1, -1), Math.trunc(bars / 3), Math.trunc((2 * bars) / 3)],
  ];
  if (info.params.some((param) => param.kind === 'ma_type'))
    movlex.maTypes.forEach((name, type) => calls.push([`ma-type-${name}`, scaledParams(info, 1, type), 0, last]));
  return calls;
}

const inputsOf = (info, prices) => info.inputs.map((input) => prices[columnOf(input)]);

function writeCalls(out, state, info, prices) {
  for (const [label, params, first, last] of callsOf(info, prices.close.length)) {
    const named = info.params.map((param, p) => ` ${param.name}=${general17(params[p])}`).join('');
    out.push(`== ${state} ${info.name} ${label}${named} [${first}..${last}]`);
    const { code, begin, count, outputs } = callEntry(info.name, first, last, inputsOf(info, prices), params);
    out.push(`rc ${code} begin ${begin} count ${count}`);
    if (code !== 0) continue;
    for (let k = 0; k < count; ++k) out.push(`${begin + k} ${outputs.map((values) => hexDouble(values[k])).join(' ')}`);
  }
}

// Feeds bars from .. bars - 1, one line per bar with a value.
function feed(out, stream, prices, from) {
  const info = stream.info;
  const series = inputsOf(info, prices);
  for (let t = from; t < prices.close.length; ++t) {
    const value = stream.update(...series.map((values) => values[t]));
    if (value === null) continue;
    const values = typeof value === 'number' ? [value] : Object.values(value);
    out.push(`${t} ${values.map(hexDouble).join(' ')}`);
  }
}

const hexBytes = (bytes) => Array.from(bytes, (byte) => byte.toString(16).padStart(2, '0')).join('');

function writeStreams(out, state, prices, states) {
  const half = Math.trunc(prices.close.length / 2);
  for (const info of movlex.indicators) {
    const stream = new (streamClass(info.name))();
    stream.updateMany(...inputsOf(info, prices).map((values) => values.subarray(0, half)));
    const line = `state ${state} ${info.name} ${hexBytes(stream.save())}`;
    out.push(line);
    states.push(line);
    feed(out, stream, prices, half);
    stream.free();
  }
}

// The digest's lines and its state lines alone.
export function digest(path) {
  const prices = readPrices(path);
  const out = [`# movlex digest of ${prices.close.length} bars`];
  const states = [];
  movlex.shutdown(); // the library as loaded: no unstable period
  for (const state of ['loaded', 'initialised']) {
    if (state === 'initialised') movlex.initialize();
    for (const info of movlex.indicators) writeCalls(out, state, info, prices);
    writeStreams(out, state, prices, states);
  }
  movlex.shutdown();
  movlex.initialize();
  return { text: `${out.join('\n')}\n`, states: `${states.join('\n')}\n` };
}

// As movlex_digest --restore: every state line restored and fed the rest.
export function restored(statesText, path) {
  const prices = readPrices(path);
  const out = [];
  for (const line of statesText.split('\n')) {
    if (!line.startsWith('state ')) continue;
    const hex = line.slice(line.lastIndexOf(' ') + 1);
    const bytes = Uint8Array.from(hex.match(/../g) ?? [], (pair) => parseInt(pair, 16));
    let stream;
    try {
      stream = fromState(bytes);
    } catch (error) {
      out.push(`${line.slice(0, line.lastIndexOf(' '))}: rc failed`);
      continue;
    }
    out.push(`${line.slice(0, line.lastIndexOf(' '))}: rc 0`);
    feed(out, stream, prices, stream.bars);
    stream.free();
  }
  return `${out.join('\n')}\n`;
}
