#include "render/b2debug.h"

#include <cmath>

#include "render/angles.h"
#include "render/gl.h"

namespace {

constexpr unsigned circleVertexCount = 36;

void setColor(const b2Color& color) { glColor4f(color.r, color.g, color.b, 1.0f); }

// 36 vertices counter-clockwise from the +x side; call between glBegin and glEnd.
void circleVertices(const b2Vec2& center, float radius)
{
    for (unsigned i = 0; i < circleVertexCount; ++i) {
        const float a = static_cast<float>(2.0f * static_cast<float>(i) * pi / circleVertexCount);
        glVertex2f(center.x + radius * std::cos(a), center.y + radius * std::sin(a));
    }
}

void polygonVertices(const b2Vec2* vertices, int32 vertexCount)
{
    for (int32 i = 0; i < vertexCount; ++i)
        glVertex2f(vertices[i].x, vertices[i].y);
}

}  // namespace

void DebugDraw::DrawPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color)
{
    setColor(color);
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    polygonVertices(vertices, vertexCount);
    glEnd();
    checkGlError(__FILE__, __LINE__);
}

void DebugDraw::DrawSolidPolygon(const b2Vec2* vertices, int32 vertexCount, const b2Color& color)
{
    setColor(color);
    glBegin(GL_POLYGON);
    polygonVertices(vertices, vertexCount);
    glEnd();
    checkGlError(__FILE__, __LINE__);
}

void DebugDraw::DrawCircle(const b2Vec2& center, float radius, const b2Color& color)
{
    setColor(color);
    glLineWidth(1.0f);
    glBegin(GL_LINE_LOOP);
    circleVertices(center, radius);
    glEnd();
    checkGlError(__FILE__, __LINE__);
}

void DebugDraw::DrawSolidCircle(const b2Vec2& center, float radius, const b2Vec2& /*axis*/,
                                const b2Color& color)
{
    setColor(color);
    glBegin(GL_POLYGON);
    circleVertices(center, radius);
    glEnd();
    checkGlError(__FILE__, __LINE__);
}

void DebugDraw::DrawSegment(const b2Vec2& p1, const b2Vec2& p2, const b2Color& color)
{
    setColor(color);
    glLineWidth(1.0f);
    glBegin(GL_LINES);
    glVertex2f(p1.x, p1.y);
    glVertex2f(p2.x, p2.y);
    glEnd();
    checkGlError(__FILE__, __LINE__);
}

void DebugDraw::DrawTransform(const b2Transform& xf)
{
    glPushMatrix();
    {
        glTranslatef(xf.p.x, xf.p.y, 0.0f);
        glRotatef(degrees(std::atan2(xf.q.s, xf.q.c)), 0.0f, 0.0f, 1.0f);
        checkGlError(__FILE__, __LINE__);

        glLineWidth(1.0f);
        glBegin(GL_LINES);
        glColor4f(1.0f, 0.0f, 0.0f, 1.0f);  // x axis
        glVertex2f(0.0f, 0.0f);
        glVertex2f(1.0f, 0.0f);
        glVertex2f(1.0f, 0.0f);
        glVertex2f(0.9f, -0.1f);
        glVertex2f(1.0f, 0.0f);
        glVertex2f(0.9f, 0.1f);
        glColor4f(0.0f, 1.0f, 0.0f, 1.0f);  // y axis
        glVertex2f(0.0f, 0.0f);
        glVertex2f(0.0f, 1.0f);
        glVertex2f(0.0f, 1.0f);
        glVertex2f(-0.1f, 0.9f);
        glVertex2f(0.0f, 1.0f);
        glVertex2f(0.1f, 0.9f);
        glEnd();
        checkGlError(__FILE__, __LINE__);
    }
    glPopMatrix();
    checkGlError(__FILE__, __LINE__);
}

void DebugDraw::DrawPoint(const b2Vec2& p, float size, const b2Color& color)
{
    setColor(color);
    glPointSize(size);
    glBegin(GL_POINTS);
    glVertex2f(p.x, p.y);
    glEnd();
    checkGlError(__FILE__, __LINE__);
}
