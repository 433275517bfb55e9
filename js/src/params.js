// Parameters given as an options object, checked against the table's
// declarations: { period: 14, maType: 'ema' } -> doubles in table order.
import { camelCase, table } from './module.js';

function numberText(value) {
  return String(value);
}

export function rangeText(param) {
  return `${numberText(param.min)}..${numberText(param.max)}`;
}

function describe(value) {
  return typeof value === 'string' ? JSON.stringify(value) : String(value);
}

function code(info, param, key, value) {
  if (param.kind === 'ma_type' && typeof value === 'string') {
    const found = table.maTypes.indexOf(value.toLowerCase());
    if (found < 0)
      throw new RangeError(`${info.name}: ${key}=${describe(value)} is not a moving-average type (${table.maTypes.join(', ')}, or 0..${table.maTypes.length - 1})`);
    return found;
  }
  if (typeof value !== 'number') throw new TypeError(`${info.name}: ${key} must be a number, not ${typeof value}`);
  if (param.kind !== 'real' && Number.isFinite(value) && !Number.isInteger(value))
    throw new RangeError(`${info.name}: ${key}=${describe(value)} is not a whole number`);
  if (!(value >= param.min && value <= param.max))
    throw new RangeError(`${info.name}: ${key}=${describe(value)} is out of range ${rangeText(param)}`);
  return value;
}

// The parameters of `info` from `options` (undefined or an object of
// camel-case names), defaults filled in.
export function readParams(info, options) {
  if (options !== undefined && (options === null || typeof options !== 'object' || Array.isArray(options)))
    throw new TypeError(`${info.name}: options must be an object of parameters`);
  const given = options ?? {};
  const keys = info.params.map((param) => camelCase(param.name));
  for (const key of Object.keys(given))
    if (!keys.includes(key))
      throw new TypeError(`${info.name}: unknown parameter '${key}'${keys.length ? ` (parameters: ${keys.join(', ')})` : ' (it takes none)'}`);
  return info.params.map((param, p) => {
    const value = given[keys[p]];
    return value === undefined || value === null ? param.default : code(info, param, keys[p], value);
  });
}
