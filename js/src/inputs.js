// The input series of a call: Float64Arrays, other typed arrays or plain
// arrays of numbers, one per input of the indicator, all of one length.
// `bars` may instead be one object of named columns ({ high, low, close }).

// The JavaScript name of a table input: the single price series is the close.
export function inputName(input) {
  return input === 'input' ? 'close' : input;
}

function isSeries(value) {
  return ArrayBuffer.isView(value) ? !(value instanceof DataView) && !(value instanceof BigInt64Array) && !(value instanceof BigUint64Array) : Array.isArray(value);
}

function checked(info, name, value) {
  if (!isSeries(value))
    throw new TypeError(`${info.name}: input '${name}' must be a Float64Array, another typed array or an array of numbers`);
  if (Array.isArray(value))
    for (let t = 0; t < value.length; ++t)
      if (typeof value[t] !== 'number')
        throw new TypeError(`${info.name}: input '${name}' holds a ${typeof value[t]} at index ${t}, not a number`);
  return value;
}

// The input arrays of a call and the arguments that follow them.
export function readInputs(info, args) {
  const names = info.inputs.map(inputName);
  let series;
  let rest;
  const first = args[0];
  if (first !== null && typeof first === 'object' && !isSeries(first) && names.length > 0) {
    series = names.map((name) => {
      if (!(name in first)) throw new TypeError(`${info.name}: the bars have no column '${name}'`);
      return checked(info, name, first[name]);
    });
    rest = args.slice(1);
  } else {
    if (args.length < names.length)
      throw new TypeError(`${info.name}: expected ${names.length} input series (${names.join(', ')}), got ${args.length}`);
    series = names.map((name, i) => checked(info, name, args[i]));
    rest = args.slice(names.length);
  }
  for (let i = 1; i < series.length; ++i)
    if (series[i].length !== series[0].length)
      throw new RangeError(`${info.name}: inputs differ in length: '${names[0]}' has ${series[0].length}, '${names[i]}' has ${series[i].length}`);
  if (series.length > 0 && series[0].length > 0x7fffffff)
    throw new RangeError(`${info.name}: ${series[0].length} bars is more than one call can take (2147483647)`);
  return { series, rest };
}
