// The arc tangent MAMA measures its phases with. The library computes it
// itself, in plain double arithmetic carried to about 100 bits, instead of
// taking the platform's: runtimes round their arc tangents differently in the
// last bit, and MAMA's results must be the same on every machine.
#pragma once

namespace movlex {

// arctan(x) in radians, rounded to the nearest double (except where the exact
// value lies within about 2^-80 of a value exactly halfway between two
// doubles). NaN gives NaN, +-infinity gives +-pi/2 rounded.
double arc_tangent(double x);

// The same by the careful pass alone, which arc_tangent takes only for the few
// arguments its quick pass cannot settle; for tests.
double careful_arc_tangent(double x);

}  // namespace movlex
