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

// One face of a box: its BoxFace bit, its outward normal and its corners, counter-clockwise seen
// from outside, each as bits: 1 for the high x, 2 the high y, 4 the high z.
struct BoxFaceCorners {
    unsigned face;
    float normal[3];
    int corners[4];
};

constexpr BoxFaceCorners boxFaces[6] = {
    {PlusX, {1, 0, 0}, {7, 5, 1, 3}}, {MinusZ, {0, 0, -1}, {3, 1, 0, 2}}, {MinusX, {-1, 0, 0}, {2, 0, 4, 6}},
    {PlusZ, {0, 0, 1}, {6, 4, 5, 7}}, {PlusY, {0, 1, 0}, {2, 6, 7, 3}},   {MinusY, {0, -1, 0}, {4, 0, 1, 5}},
};

}  // namespace

void boxQuads(float cx, float cy, float cz, float hx, float hy, float hz, unsigned faces)
{
    const float x[2] = {cx - hx, cx + hx};
    const float y[2] = {cy - hy, cy + hy};
    const float z[2] = {cz - hz, cz + hz};
    for (const BoxFaceCorners& face : boxFaces) {
        if (!(faces & face.face))
            continue;
        glNormal3f(face.normal[0], face.normal[1], face.normal[2]);
        for (const int corner : face.corners)
            glVertex3f(x[corner & 1], y[(corner >> 1) & 1], z[corner >> 2]);
    }
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
