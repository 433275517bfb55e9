// Typical price of a bar, shared by the money-flow index and the commodity
// channel index: ((high + low) + close) / 3, added left to right.
#pragma once

namespace movlex {

inline double typical_price(double high, double low, double close) { return ((high + low) + close) / 3.0; }

}  // namespace movlex
