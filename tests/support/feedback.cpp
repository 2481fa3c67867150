#include "support/feedback.h"

#include <array>
#include <cmath>
#include <ostream>
#include <set>

#include "render/gl.h"

namespace gltest {

namespace {

constexpr int floatsPerVertex = 7;  // GL_3D_COLOR in RGBA mode: x, y, z, r, g, b, a

FeedbackVertex vertexAt(const std::vector<GLfloat>& buffer, size_t& at)
{
    const GLfloat* f = &buffer[at];
    at += floatsPerVertex;
    return FeedbackVertex{b2Vec3(f[0], f[1], f[2]), b2Color(f[3], f[4], f[5], f[6])};
}

Primitives parse(const std::vector<GLfloat>& buffer, size_t used)
{
    Primitives primitives;
    for (size_t at = 0; at < used;) {
        const auto token = static_cast<GLenum>(buffer[at++]);
        Primitive p;
        size_t count = 0;
        switch (token) {
        case GL_POLYGON_TOKEN:
            p.kind = Kind::Polygon;
            count = static_cast<size_t>(buffer[at++]);
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            p.kind = Kind::Line;
            count = 2;
            break;
        case GL_POINT_TOKEN:
            p.kind = Kind::Point;
            count = 1;
            break;
        case GL_PASS_THROUGH_TOKEN:
            p.kind = Kind::PassThrough;
            p.marker = buffer[at++];
            break;
        default:  // bitmap and pixel rectangles: one vertex, the raster position
            p.kind = Kind::Other;
            count = 1;
            break;
        }
        for (size_t i = 0; i < count; ++i)
            p.vertices.push_back(vertexAt(buffer, at));
        primitives.push_back(std::move(p));
    }
    return primitives;
}

}  // namespace

Primitives captureFeedback(const std::function<void()>& draw)
{
    // Grown until one run fits: glRenderMode reports an overflow as a negative count.
    for (size_t capacity = size_t{1} << 16;; capacity *= 2) {
        std::vector<GLfloat> buffer(capacity);
        glFeedbackBuffer(static_cast<GLsizei>(capacity), GL_3D_COLOR, buffer.data());
        glRenderMode(GL_FEEDBACK);
        try {
            draw();
        } catch (...) {
            glRenderMode(GL_RENDER);
            throw;
        }
        const GLint used = glRenderMode(GL_RENDER);
        if (used >= 0)
            return parse(buffer, static_cast<size_t>(used));
    }
}

Primitives only(const Primitives& primitives, Kind kind)
{
    Primitives result;
    for (const Primitive& p : primitives)
        if (p.kind == kind)
            result.push_back(p);
    return result;
}

size_t distinctLines(const Primitives& primitives)
{
    std::set<std::array<float, 6>> lines;
    for (const Primitive& p : primitives)
        if (p.kind == Kind::Line) {
            const b2Vec3& a = p.vertices[0].window;
            const b2Vec3& b = p.vertices[1].window;
            lines.insert({a.x, a.y, a.z, b.x, b.y, b.z});
        }
    return lines.size();
}

ObjectView::ObjectView(b2Vec3 centre, float halfSize)
{
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    const double aspect = static_cast<double>(viewport[2]) / viewport[3];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(centre.x - halfSize * aspect, centre.x + halfSize * aspect, centre.y - halfSize,
            centre.y + halfSize, -(centre.z + halfSize), -(centre.z - halfSize));
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glGetDoublev(GL_MODELVIEW_MATRIX, m_modelview);
    glGetDoublev(GL_PROJECTION_MATRIX, m_projection);
    for (int i = 0; i < 4; ++i)
        m_viewport[i] = viewport[i];
}

b2Vec3 ObjectView::toObject(const FeedbackVertex& vertex) const
{
    double x = 0, y = 0, z = 0;
    gluUnProject(vertex.window.x, vertex.window.y, vertex.window.z, m_modelview, m_projection, m_viewport, &x,
                 &y, &z);
    return b2Vec3(static_cast<float>(x), static_cast<float>(y), static_cast<float>(z));
}

std::vector<b2Vec3> ObjectView::toObject(const Primitive& primitive) const
{
    std::vector<b2Vec3> points;
    for (const FeedbackVertex& v : primitive.vertices)
        points.push_back(toObject(v));
    return points;
}

b2Vec3 windingNormal(const std::vector<b2Vec3>& points)
{
    return b2Cross(points.at(1) - points.at(0), points.at(2) - points.at(0));
}

b2Vec3 unit(const b2Vec3& v) { return (1.0f / std::sqrt(b2Dot(v, v))) * v; }

b2Vec3 centroid(const std::vector<b2Vec3>& points)
{
    b2Vec3 sum(0.0f, 0.0f, 0.0f);
    for (const b2Vec3& p : points)
        sum += p;
    return (1.0f / static_cast<float>(points.size())) * sum;
}

::testing::AssertionResult closeTo(const b2Vec3& actual, const b2Vec3& expected, float tolerance)
{
    const b2Vec3 d = actual - expected;
    if (b2Abs(d.x) <= tolerance && b2Abs(d.y) <= tolerance && b2Abs(d.z) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << actual << " is not within " << tolerance << " of " << expected;
}

::testing::AssertionResult closeTo(const b2Color& actual, const b2Color& expected, float tolerance)
{
    if (b2Abs(actual.r - expected.r) <= tolerance && b2Abs(actual.g - expected.g) <= tolerance &&
        b2Abs(actual.b - expected.b) <= tolerance && b2Abs(actual.a - expected.a) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "colour " << actual << " is not within " << tolerance << " of " << expected;
}

}  // namespace gltest

std::ostream& operator<<(std::ostream& out, const b2Vec3& v)
{
    return out << "(" << v.x << ", " << v.y << ", " << v.z << ")";
}

std::ostream& operator<<(std::ostream& out, const b2Color& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ", " << c.a << ")";
}
