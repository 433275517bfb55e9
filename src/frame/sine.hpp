// Sine and cosine of an angle in degrees, computed by the library so that
// they give the same bits on every machine: an exact reduction to within 45
// degrees of a multiple of 90, one rounding to radians, and the Taylor series
// in one fixed order (the runtime's functions differ between platforms in the
// last bit). Accurate to a few units in the last place.
#pragma once

namespace movlex {

double sine_degrees(double degrees);
double cosine_degrees(double degrees);

}  // namespace movlex
