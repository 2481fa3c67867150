#pragma once

// The physics library's trigonometry: Box2D's calls of sinf, cosf, sincosf and atan2f reach the
// game's portable ones (platform/float_math.h), and no one else's do. The drawing, the GL driver
// and every other library keep the C library's own, which are faster and need no bits of ours.
//
// Linked statically (Windows, the web), Box2D takes these names from the executable, which
// defines them (static_physics_library_math.cpp); anything else linked in that calls them gets
// the same. As Debian's shared library (Linux), Box2D's four entries in its table of imported
// functions are set to the game's functions as the executable starts, before main
// (elf_physics_library_math.cpp): the executable exports none of the four, so the system's
// dynamic linker gives every other library the C library's.

/// How many of Box2D's calls of sinf, cosf, sincosf and atan2f go to the game's functions: the
/// imports rebound on Linux (four, or fewer where Box2D calls fewer; 0 when none was found or one
/// could not be written), or -1 where Box2D is linked in and calls the executable's own definitions.
int physicsLibraryMathBindings();
