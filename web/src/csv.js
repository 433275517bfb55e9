// OHLCV bars from CSV text: a header naming date (or time), open, high, low,
// close and volume in any case and order; numbers as JavaScript reads them
// (correctly rounded, as the native tool's reader).
export function parseBars(text) {
  const lines = text.split(/\r\n|\n|\r/).filter((line) => line.trim() !== '');
  const header = lines[0].split(',').map((name) => name.trim().toLowerCase());
  const at = (name) => header.indexOf(name);
  const time = at('date') >= 0 ? at('date') : at('time');
  const names = ['open', 'high', 'low', 'close', 'volume'];
  if (time < 0 || names.slice(0, 4).some((name) => at(name) < 0)) throw new Error('the CSV needs date, open, high, low and close columns');
  const bars = { time: [] };
  for (const name of names) bars[name] = new Float64Array(lines.length - 1);
  lines.slice(1).forEach((line, row) => {
    const fields = line.split(',');
    bars.time.push(fields[time].trim());
    for (const name of names) bars[name][row] = at(name) >= 0 ? Number(fields[at(name)]) : NaN;
  });
  return bars;
}
