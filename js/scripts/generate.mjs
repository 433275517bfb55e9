// Writes the package's per-indicator files from the indicator table of the
// built module: generated/indicators.js (a function per indicator),
// generated/streams.js (a stream class per indicator) and movlex.d.ts.
import { writeFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { camelCase, outputName, table } from '../src/module.js';
import { inputName } from '../src/inputs.js';
import { rangeText } from '../src/params.js';

const root = fileURLToPath(new URL('..', import.meta.url));
const HEADER = '// Generated from the indicator table by scripts/generate.mjs: do not edit.\n';
const rows = table.indicators;
const streamName = (row) => row.name.toUpperCase();

function exports(make, from, nameOf) {
  const lines = rows.map((row) => `const $${row.name} = ${make}('${row.name}');`);
  const list = rows.map((row) => `$${row.name} as ${nameOf(row)}`).join(', ');
  return `${HEADER}import { ${make} } from '${from}';\n\n${lines.join('\n')}\n\nexport { ${list} };\n`;
}

writeFileSync(`${root}/generated/indicators.js`, exports('indicatorFunction', '../src/functions.js', (row) => row.name));
writeFileSync(`${root}/generated/streams.js`,
  exports('streamClass', '../src/stream.js', streamName).replace("import { streamClass }", "import { streamClass, fromState, Stream }") +
  'export { fromState, Stream };\n');

// ---- Declarations ----------------------------------------------------------

const typeOf = (param) => (param.kind === 'ma_type' ? 'MaType' : 'number');
const kindText = { integer: 'whole number', real: 'number', ma_type: 'moving-average type' };

function defaultText(param) {
  return param.kind === 'ma_type' ? `'${table.maTypes[param.default]}'` : String(param.default);
}

function paramDocs(row) {
  return row.params.map((param) =>
    ` * @param options.${camelCase(param.name)} ${kindText[param.kind]}, default ${defaultText(param)}, range ${
      param.kind === 'ma_type' ? table.maTypes.join(' | ') + ` or ${rangeText(param)}` : rangeText(param)}`);
}

function optionsType(row) {
  if (row.params.length === 0) return 'Record<string, never>';
  return `{ ${row.params.map((param) => `${camelCase(param.name)}?: ${typeOf(param)}`).join('; ')} }`;
}

function resultType(row) {
  if (row.outputs.length === 1) return 'Float64Array';
  return `{ ${row.outputs.map((name) => `${outputName(name)}: Float64Array`).join('; ')} }`;
}

function valueType(row) {
  if (row.outputs.length === 1) return 'number';
  return `{ ${row.outputs.map((name) => `${outputName(name)}: number`).join('; ')} }`;
}

const inputs = (row) => row.inputs.map(inputName);
const safe = (name) => (name === 'var' ? 'var_' : name);

function functionDeclaration(row) {
  const names = inputs(row);
  const args = names.map((name) => `${name}: Series`).join(', ');
  const bars = `{ ${names.map((name) => `${name}: Series`).join('; ')} }`;
  const doc = [
    `/**`,
    ` * ${row.summary} (${row.entry}).`,
    ` *`,
    ` * Inputs: ${names.join(', ')}. Output${row.outputs.length > 1 ? 's' : ''}: ${row.outputs.map(outputName).join(', ')}.`,
    ` * Results are as long as the inputs, NaN before the first value.`,
    ...paramDocs(row),
    ` * @throws RangeError for a parameter out of range, TypeError for wrong inputs.`,
    ` */`,
  ].join('\n');
  return `${doc}\ndeclare function ${safe(row.name)}(${args}${args ? ', ' : ''}options?: ${optionsType(row)}): ${resultType(row)};\n` +
    (names.length ? `declare function ${safe(row.name)}(bars: ${bars}, options?: ${optionsType(row)}): ${resultType(row)};\n` : '') +
    `export { ${safe(row.name)} as ${row.name} };\n`;
}

function streamDeclaration(row) {
  const names = inputs(row);
  return [
    `  /** Stream of ${row.summary} (${row.name}), one bar at a time.`,
    ...paramDocs(row).map((line) => `  ${line}`),
    `   */`,
    `  class ${streamName(row)} extends Stream<${valueType(row)}, ${resultType(row)}> {`,
    `    constructor(options?: ${optionsType(row)});`,
    `    update(${names.map((name) => `${name}: number`).join(', ')}): ${valueType(row)} | null;`,
    `    updateMany(${names.map((name) => `${name}: Series`).join(', ')}): ${resultType(row)};`,
    `    copy(): ${streamName(row)};`,
    `    static fromState(state: Uint8Array): ${streamName(row)};`,
    `  }`,
  ].join('\n');
}

const declarations = `${HEADER}
/** A price series: a Float64Array, another typed array or an array of numbers. */
export type Series = ArrayLike<number>;

/** A moving-average type by name or code. */
export type MaType = ${table.maTypes.map((name) => `'${name}'`).join(' | ')} | number;

/** Where an output is drawn: over the price (on its scale), in a panel below it, or as markers on the candles (a pattern's signals). */
export type Placement = 'overlay' | 'panel' | 'markers';

/** A row of the indicator table. */
export interface IndicatorInfo {
  name: string;
  entry: string;
  summary: string;
  inputs: string[];
  outputs: string[];
  /** Where the first output is drawn: over the price, in a panel below it, or as markers on the candles. */
  placement: Placement;
  /** Where each output is drawn, in the order of outputs. */
  outputPlacements: Placement[];
  set: 'core' | 'extended';
  params: { name: string; kind: 'integer' | 'real' | 'ma_type'; default: number; min: number; max: number }[];
}

/** Every indicator of the table. */
export const indicators: IndicatorInfo[];
/** Moving-average type names by code. */
export const maTypes: string[];

/** MOVLEX_INIT: unstable periods of 150 bars (done on loading). */
export function initialize(): void;
export { initialize as init };
/** MOVLEX_SHUTDOWN: no unstable period. Throws when not initialised. */
export function shutdown(): void;
/** Bytes of the WebAssembly heap (it only grows). */
export function heapSize(): number;

${rows.map(functionDeclaration).join('\n')}
export namespace stream {
  /** A stream of any indicator. */
  abstract class Stream<Value, Result> {
    readonly info: IndicatorInfo;
    /** Bars fed so far. */
    readonly bars: number;
    /** The state in the library's versioned byte format. */
    save(): Uint8Array;
    /** Releases the stream now (otherwise when collected). */
    free(): void;
  }
  /** A stream of whichever indicator the state was saved from. */
  function fromState(state: Uint8Array): Stream<unknown, unknown>;

${rows.map(streamDeclaration).join('\n\n')}
}
`;
writeFileSync(`${root}/movlex.d.ts`, declarations);
console.log(`generate: ${rows.length} indicators`);
