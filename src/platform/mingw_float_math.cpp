// mingw-w64's C runtime keeps sincos, sincosf and sincosl in one object file. The game's sincosf
// (float_math.cpp) stands in for the runtime's; a call of sincos or sincosl (which GCC makes of a
// sin and a cos of one argument) would still pull that object in, and its sincosf with it, which
// fails the link. So the other two stand here, made of the runtime's own sin and cos. Compiled
// without built-ins: GCC must not fuse the pairs below back into calls of these very functions.

#include <math.h>

extern "C" {
void sincos(double x, double* s, double* c)
{
    *s = sin(x);
    *c = cos(x);
}

void sincosl(long double x, long double* s, long double* c)
{
    *s = sinl(x);
    *c = cosl(x);
}
}
