#pragma once

// The physics library's trigonometry: Box2D's calls of sinf, cosf, sincosf and atan2f reach the
// game's portable ones (platform/float_math.h), so that the physics gives the same bits on every
// system. The executable defines the C library's four names (static_physics_library_math.cpp):
// Box2D, linked in (Windows, the web) or Debian's shared library (Linux), takes them from it.
// So does every other caller in the process, the GL driver included: the functions are cheap
// (about glibc's cost), and the pictures stay those the game has always drawn. (Leaving the other
// callers glibc's on Linux would mean rewriting the shared Box2D's import table at start-up.)

/// How many of Box2D's calls of sinf, cosf, sincosf and atan2f go to the game's functions: the
/// imports rebound on Linux (four, or fewer where Box2D calls fewer), or -1 where Box2D is linked
/// in and calls the executable's own definitions.
int physicsLibraryMathBindings();
