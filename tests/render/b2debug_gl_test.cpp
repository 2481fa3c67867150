// The physics drawer's shapes as OpenGL receives them.

#include <cmath>
#include <set>
#include <vector>

#include "render/b2debug.h"
#include "render/gl.h"
#include "support/feedback.h"
#include "support/gl_context.h"

using namespace gltest;

class DebugDrawGl : public GlTest {
protected:
    DebugDraw drawer;
};

TEST_F(DebugDrawGl, SolidCircleIsAnOpaqueCounterClockwise36GonWhateverTheAxis)
{
    const ObjectView view(b2Vec3(2, 1, 0), 1.0f);
    const b2Vec2 centre(2, 1);
    const b2Color translucent(0.2f, 0.4f, 0.6f, 0.3f);
    const Primitives alongX =
        captureFeedback([&] { drawer.DrawSolidCircle(centre, 0.5f, b2Vec2(1, 0), translucent); });
    ASSERT_EQ(alongX.size(), 34u) << "a 36-gon comes back as 34 triangles";

    std::set<int> tenDegreeSteps;
    for (const Primitive& triangle : alongX) {
        const std::vector<b2Vec3> corners = view.toObject(triangle);
        EXPECT_GT(windingNormal(corners).z, 0.0f) << "clockwise seen from above: culled in the game";
        for (size_t i = 0; i < corners.size(); ++i) {
            const b2Vec3 offset = corners[i] - b2Vec3(centre.x, centre.y, 0);
            EXPECT_NEAR(std::hypot(offset.x, offset.y), 0.5f, 1e-4f);
            EXPECT_NEAR(offset.z, 0.0f, 1e-4f);
            const float degrees = std::atan2(offset.y, offset.x) * 180.0f / b2_pi;
            const long step = std::lround(degrees / 10.0f);
            EXPECT_NEAR(degrees, step * 10.0f, 1e-2f);
            tenDegreeSteps.insert(static_cast<int>((step + 36) % 36));
            EXPECT_TRUE(closeTo(triangle.vertices[i].colour, b2Color(0.2f, 0.4f, 0.6f, 1.0f), 1e-3f));
        }
    }
    EXPECT_EQ(tenDegreeSteps.size(), 36u);
    EXPECT_TRUE(closeTo(view.toObject(alongX[0].vertices[2]), b2Vec3(2.5f, 1, 0), 1e-4f))
        << "the polygon does not start on the +x side of the centre";

    const Primitives alongY =
        captureFeedback([&] { drawer.DrawSolidCircle(centre, 0.5f, b2Vec2(0, 1), translucent); });
    ASSERT_EQ(alongY.size(), alongX.size());
    for (size_t t = 0; t < alongX.size(); ++t)
        for (size_t i = 0; i < 3; ++i)
            EXPECT_TRUE(closeTo(alongY[t].vertices[i].window, alongX[t].vertices[i].window, 0.0f))
                << "the axis changed the circle";
}

TEST_F(DebugDrawGl, PolygonOutlineClosesItsLoopAndAnEmptyOneIsHarmless)
{
    const ObjectView view(b2Vec3(0, 0, 0), 2.0f);
    const b2Vec2 triangle[3] = {{0, 0}, {1, 0}, {0, 1}};
    const Primitives loop =
        captureFeedback([&] { drawer.DrawPolygon(triangle, 3, b2Color(0.9f, 0.3f, 0.9f, 0.5f)); });
    ASSERT_EQ(distinctLines(loop), 3u);
    EXPECT_TRUE(closeTo(view.toObject(loop.back().vertices[1]), b2Vec3(0, 0, 0), 1e-4f))
        << "the last side does not return to the first vertex";
    EXPECT_EQ(loop[0].vertices[0].colour.a, 1.0f);

    Primitives empty;
    EXPECT_NO_THROW(empty = captureFeedback([&] { drawer.DrawPolygon(triangle, 0, b2Color(1, 1, 1)); }));
    EXPECT_TRUE(empty.empty());
}

TEST_F(DebugDrawGl, TransformDrawsRedXAndGreenYArrowsAndRestoresTheMatrix)
{
    const ObjectView view(b2Vec3(1, 2, 0), 2.0f);
    // The arrows sit on whatever is on the modelview (here a shift of 0.25 along x), and
    // that must be there again afterwards.
    glTranslatef(0.25f, 0, 0);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);

    const float angle = b2_pi / 6;
    const b2Transform xf(b2Vec2(0.75f, 2), b2Rot(angle));
    const Primitives arrows = captureFeedback([&] { drawer.DrawTransform(xf); });

    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], before[i]) << "modelview element " << i;

    ASSERT_EQ(arrows.size(), 6u) << "two arrows of three segments";
    const b2Vec3 origin(1, 2, 0);
    EXPECT_TRUE(closeTo(view.toObject(arrows[0].vertices[0]), origin, 1e-4f));
    EXPECT_TRUE(closeTo(view.toObject(arrows[0].vertices[1]),
                        origin + b2Vec3(std::cos(angle), std::sin(angle), 0), 1e-4f))
        << "the x arrow does not follow the rotation";
    EXPECT_TRUE(closeTo(arrows[0].vertices[0].colour, b2Color(1, 0, 0, 1), 1e-3f));
    EXPECT_TRUE(closeTo(view.toObject(arrows[3].vertices[1]),
                        origin + b2Vec3(-std::sin(angle), std::cos(angle), 0), 1e-4f))
        << "the y arrow does not follow the rotation";
    EXPECT_TRUE(closeTo(arrows[3].vertices[0].colour, b2Color(0, 1, 0, 1), 1e-3f));
}
