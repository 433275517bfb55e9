// The bars every benchmark runs over (bench/price_walk.hpp, bar for bar): a
// price-like random walk that stays near its level (100).
//
// Each bar the close moves by a random relative change of up to +-1 % less a
// pull of 0.1 % of its distance from the level; the open lies within 0.2 % of
// the previous close, the high and the low up to 0.8 % beyond the open and the
// close, the volume is a whole number in [1000, 10000). Only +, -, *, / and a
// 64-bit congruential generator, so the bits are those of the C++ walk.
export function priceWalk(count, seed = 42, level = 100) {
  let state = BigInt.asUintN(64, BigInt(seed) * 0x9E3779B97F4A7C15n);
  const uniform = () => {
    state = BigInt.asUintN(64, state * 6364136223846793005n + 1442695040888963407n);
    return Number(state >> 11n) / 9007199254740992;
  };
  const bars = {};
  for (const name of ['open', 'high', 'low', 'close', 'volume']) bars[name] = new Float64Array(count);
  let close = level;
  for (let t = 0; t < count; ++t) {
    const open = close * (1 + (uniform() - 0.5) * 0.004);
    close = close * (1 + ((uniform() - 0.5) * 0.02 - 0.001 * (close - level) / level));
    const up = uniform(), down = uniform();
    bars.open[t] = open;
    bars.close[t] = close;
    bars.high[t] = Math.max(open, close) * (1 + up * 0.008);
    bars.low[t] = Math.min(open, close) * (1 - down * 0.008);
    bars.volume[t] = Math.floor(1000 + uniform() * 9000);
  }
  return bars;
}
