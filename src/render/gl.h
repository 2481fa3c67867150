#pragma once

// The one place the drawing code gets OpenGL 1.x and GLU from.
#include <GL/gl.h>
#include <GL/glu.h>
