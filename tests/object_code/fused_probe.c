/* Compiled with contraction allowed, so that the compiler fuses a * b + c:
   the object-code check must find it here, or it would find nothing
   anywhere. */
double fused_probe(double a, double b, double c) { return a * b + c; }
