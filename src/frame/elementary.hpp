// The exponential and the natural logarithm, computed by the library so that
// they give the same bits on every machine: only additions, multiplications
// and divisions in one fixed order, and exact scalings by powers of two. The
// runtime's functions differ between platforms (and between code paths of
// one runtime) in the last bit. Accurate to a couple of units in the last
// place; not always the nearest double.
#pragma once

namespace movlex {

double portable_exp(double x);
double portable_log(double x);

}  // namespace movlex
