// Price-like bars: a log-price walk reverting slowly to 100, from a fixed seed.
export function prices(count, seed = 7) {
  let state = seed >>> 0;
  const random = () => {
    state = (Math.imul(state, 1664525) + 1013904223) >>> 0;
    return state / 2 ** 32;
  };
  const bars = { open: new Float64Array(count), high: new Float64Array(count), low: new Float64Array(count), close: new Float64Array(count), volume: new Float64Array(count) };
  let level = Math.log(100);
  for (let t = 0; t < count; ++t) {
    const open = Math.exp(level);
    level += 0.02 * (random() - 0.5) - 0.001 * (level - Math.log(100));
    const close = Math.exp(level);
    bars.open[t] = open;
    bars.close[t] = close;
    bars.high[t] = Math.max(open, close) * (1 + 0.005 * random());
    bars.low[t] = Math.min(open, close) * (1 - 0.005 * random());
    bars.volume[t] = Math.round(1e5 * (1 + random()));
  }
  return bars;
}
