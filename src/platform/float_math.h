#pragma once

// The single-precision trigonometry of the game's simulation and of its physics library (Box2D),
// the same bits on every system the game is built for. The C libraries compute sinf, cosf and
// atan2f with methods of their own (glibc, mingw-w64's, musl's), which differ in the last bit now
// and then, and one bit in one step is a cart somewhere else a minute later: a run recorded on one
// system would end elsewhere on another. So the simulation calls these by name, and Box2D's calls
// of sinf, cosf, sincosf and atan2f are sent here (platform/physics_library_math.h); drawing and
// every other library keep the C library's.
//
// Each is evaluated in double precision with plain arithmetic only (no library call, no fused
// multiply-add, no division in the sine and cosine) and rounded once to float, so all four give the
// same bits everywhere for every argument. The sine and cosine are correctly rounded (the float
// nearest the exact value) at every float of magnitude below 9830 radians, far beyond what the
// game meets (float_math_test checks every float to 128 radians); beyond, the reduction by pi/2
// in three parts loses bits and they may be off in the last.

/// sin(x), x in radians, rounded to float; NaN for an infinite or NaN x.
float portableSin(float x);

/// cos(x), x in radians, rounded to float; NaN for an infinite or NaN x.
float portableCos(float x);

/// Both of x, radians, from one reduction: the values portableSin and portableCos give.
void portableSinCos(float x, float& sine, float& cosine);

/// The angle of the point (x, y) from the positive x axis, radians in [-pi, pi], rounded to
/// float, with C's atan2 conventions for zeros, infinities and NaNs.
float portableAtan2(float y, float x);
