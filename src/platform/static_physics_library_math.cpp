// The C library's names, defined by the executable: Box2D's calls find them, linked in (Windows,
// the web) or as a shared library (Linux) (see physics_library_math.h). No header that declares the C
// library's own sinf and friends is included: these definitions replace them.

#include "platform/float_math.h"
#include "platform/physics_library_math.h"

int physicsLibraryMathBindings() { return -1; }

extern "C" {
float sinf(float x) { return portableSin(x); }
float cosf(float x) { return portableCos(x); }
void sincosf(float x, float* s, float* c) { portableSinCos(x, *s, *c); }
float atan2f(float y, float x) { return portableAtan2(y, x); }
}
