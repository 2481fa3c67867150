#pragma once

// The single-precision trigonometry the physics step calls (through Box2D: sinf, cosf, sincosf
// and atan2f), computed the same way, to the bit, on every system the game is built for. The C
// libraries compute these with methods of their own (glibc, mingw-w64's, musl's), which differ in
// the last bit now and then, and one bit in one step is a cart somewhere else a minute later: a
// run recorded on one system would end elsewhere on another. Every executable of the game links
// float_math.cpp, whose sinf, cosf, sincosf and atan2f stand in for the C library's, for the
// game's code and the physics library alike.
//
// Each is evaluated in double precision with plain arithmetic only (no library call, no fused
// multiply-add) and rounded once to float: within a hair of correctly rounded for arguments up to
// 2^20 radians, and the same bits everywhere for every argument.

/// sin(x), x in radians, rounded to float; NaN for an infinite or NaN x.
float portableSin(float x);

/// cos(x), x in radians, rounded to float; NaN for an infinite or NaN x.
float portableCos(float x);

/// The angle of the point (x, y) from the positive x axis, radians in [-pi, pi], rounded to
/// float, with C's atan2 conventions for zeros, infinities and NaNs.
float portableAtan2(float y, float x);
