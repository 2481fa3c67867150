#include "render/gl_check.h"

#include <stdexcept>
#include <string>

#include "render/gl.h"

void checkGlError(const char* file, int line)
{
    const GLenum code = glGetError();
    if (code == GL_NO_ERROR)
        return;
    const GLubyte* text = gluErrorString(code);
    std::string message = "GL error: ";
    message += file;
    message += ":";
    message += std::to_string(line);
    message += ": ";
    message += text ? reinterpret_cast<const char*>(text) : ("error " + std::to_string(code));
    throw std::runtime_error(message);
}
