#include "render/solids.h"

#include <cmath>

#include "render/angles.h"
#include "render/gl.h"

namespace {

constexpr int cylinderSegments = 24;

// The angle of step i around a ring of `cylinderSegments`, with sign for the cap direction.
float ringAngle(int sign, int i)
{
    return static_cast<float>(sign * static_cast<double>(i) / cylinderSegments * 2.0 * pi);
}

}  // namespace

void boxQuads(float cx, float cy, float cz, float hx, float hy, float hz)
{
    const float x0 = cx - hx, x1 = cx + hx;
    const float y0 = cy - hy, y1 = cy + hy;
    const float z0 = cz - hz, z1 = cz + hz;

    glNormal3f(1, 0, 0);  // +x
    glVertex3f(x1, y1, z1);
    glVertex3f(x1, y0, z1);
    glVertex3f(x1, y0, z0);
    glVertex3f(x1, y1, z0);

    glNormal3f(0, 0, -1);  // bottom
    glVertex3f(x1, y1, z0);
    glVertex3f(x1, y0, z0);
    glVertex3f(x0, y0, z0);
    glVertex3f(x0, y1, z0);

    glNormal3f(-1, 0, 0);  // -x
    glVertex3f(x0, y1, z0);
    glVertex3f(x0, y0, z0);
    glVertex3f(x0, y0, z1);
    glVertex3f(x0, y1, z1);

    glNormal3f(0, 0, 1);  // top
    glVertex3f(x0, y1, z1);
    glVertex3f(x0, y0, z1);
    glVertex3f(x1, y0, z1);
    glVertex3f(x1, y1, z1);

    glNormal3f(0, 1, 0);  // +y
    glVertex3f(x0, y1, z0);
    glVertex3f(x0, y1, z1);
    glVertex3f(x1, y1, z1);
    glVertex3f(x1, y1, z0);

    glNormal3f(0, -1, 0);  // -y
    glVertex3f(x0, y0, z1);
    glVertex3f(x0, y0, z0);
    glVertex3f(x1, y0, z0);
    glVertex3f(x1, y0, z1);
}

void drawBox(float w, float h, float d)
{
    glBegin(GL_QUADS);
    boxQuads(0.0f, 0.0f, 0.0f, w * 0.5f, h * 0.5f, d * 0.5f);
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
