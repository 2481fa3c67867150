#include "render/solids.h"

#include <cmath>

#include "render/gl.h"

namespace {

constexpr int cylinderSegments = 24;
constexpr float pi = 3.1415927f;

// The angle of step i around a ring of `cylinderSegments`, with sign for the cap direction.
float ringAngle(int sign, int i)
{
    return static_cast<float>(sign * static_cast<double>(i) / cylinderSegments * 2.0 * pi);
}

}  // namespace

void drawBox(float w, float h, float d)
{
    const float hx = w * 0.5f;
    const float hy = h * 0.5f;
    const float hz = d * 0.5f;
    glBegin(GL_QUADS);
    {
        glNormal3f(1, 0, 0);  // +x
        glVertex3f(hx, hy, hz);
        glVertex3f(hx, -hy, hz);
        glVertex3f(hx, -hy, -hz);
        glVertex3f(hx, hy, -hz);

        glNormal3f(0, 0, -1);  // bottom
        glVertex3f(hx, hy, -hz);
        glVertex3f(hx, -hy, -hz);
        glVertex3f(-hx, -hy, -hz);
        glVertex3f(-hx, hy, -hz);

        glNormal3f(-1, 0, 0);  // -x
        glVertex3f(-hx, hy, -hz);
        glVertex3f(-hx, -hy, -hz);
        glVertex3f(-hx, -hy, hz);
        glVertex3f(-hx, hy, hz);

        glNormal3f(0, 0, 1);  // top
        glVertex3f(-hx, hy, hz);
        glVertex3f(-hx, -hy, hz);
        glVertex3f(hx, -hy, hz);
        glVertex3f(hx, hy, hz);

        glNormal3f(0, 1, 0);  // +y
        glVertex3f(-hx, hy, -hz);
        glVertex3f(-hx, hy, hz);
        glVertex3f(hx, hy, hz);
        glVertex3f(hx, hy, -hz);

        glNormal3f(0, -1, 0);  // -y
        glVertex3f(-hx, -hy, hz);
        glVertex3f(-hx, -hy, -hz);
        glVertex3f(hx, -hy, -hz);
        glVertex3f(hx, -hy, hz);
    }
    glEnd();
}

void drawCylinder(float radius, float length, float capOffset)
{
    const float h = length * 0.5f;

    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i <= cylinderSegments; ++i) {
        const float theta = ringAngle(+1, i);
        const float u = std::cos(theta);
        const float v = std::sin(theta);
        glNormal3f(u, v, 0);
        glVertex3f(radius * u, radius * v, h);
        glVertex3f(radius * u, radius * v, -h);
    }
    glEnd();

    // Bottom cap first; the signed angle runs its rim clockwise seen from +z, so both caps
    // face outward.
    for (int sign = -1; sign <= 1; sign += 2) {
        glNormal3f(0, 0, static_cast<float>(sign));
        glBegin(GL_TRIANGLE_FAN);
        glVertex3f(0, 0, sign * (h + capOffset));
        for (int j = 0; j <= cylinderSegments; ++j) {
            const float phi = ringAngle(sign, j);
            glVertex3f(radius * std::cos(phi), radius * std::sin(phi), sign * h);
        }
        glEnd();
    }
}
