#pragma once

/// Reads one pending OpenGL error; if there is one, throws std::runtime_error
/// "GL error: <file>:<line>: <GLU error string>". Pass __FILE__ and __LINE__: every group of GL
/// calls is followed by a check naming where it stands. Needs a current GL context.
void checkGlError(const char* file, int line);
