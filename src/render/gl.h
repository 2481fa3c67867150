#pragma once

// The one place the drawing code gets OpenGL 1.x and GLU from, with the check that follows every
// group of GL calls.
#include <GL/gl.h>
#include <GL/glu.h>

#include "render/gl_check.h"
