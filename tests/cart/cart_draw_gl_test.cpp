// The cart's drawing as OpenGL receives it: basket wires, casters, push lines, state left.

#include <cmath>

#include "cart/cart.h"
#include "render/gl.h"
#include "support/feedback.h"
#include "support/gl_context.h"

using namespace gltest;

namespace {

// What one Cart::render() sends, in order (no face culling in the test context):
constexpr size_t basketLines = 86;       // 13 cross ribs and 9 long ribs of 3 wires, 5 rings of 4
constexpr size_t handleTriangles = 12;   // one box
constexpr size_t casterTriangles = 120;  // strut and swivel post boxes, then the 96-triangle wheel
constexpr size_t wheelTriangles = 96;

class CartDrawGl : public GlTest {
protected:
    b2World physics{b2Vec2(0.0f, 0.0f)};
    Cart cart{physics, 0.0f, 0.0f, 0.0f};

    // Lines and triangles of one render, at the cart's pose through `view`.
    void capture(const ObjectView& view)
    {
        const Primitives drawn = captureFeedback([this] { cart.render(); });
        for (const Primitive& p : only(drawn, Kind::Line))
            lines.push_back(view.toObject(p));
        for (const Primitive& p : only(drawn, Kind::Polygon))
            triangles.push_back(view.toObject(p));
    }

    std::vector<std::vector<b2Vec3>> lines;
    std::vector<std::vector<b2Vec3>> triangles;
};

::testing::AssertionResult isSegment(const std::vector<b2Vec3>& line, b2Vec3 from, b2Vec3 to)
{
    ::testing::AssertionResult start = closeTo(line[0], from, 1e-4f);
    if (!start)
        return start << " (start)";
    ::testing::AssertionResult end = closeTo(line[1], to, 1e-4f);
    return end ? end : end << " (end)";
}

}  // namespace

TEST_F(CartDrawGl, BasketHangsFromTheBodyBoxDownToItsSmallerFloor)
{
    capture(ObjectView(b2Vec3(0, 0, 0.5f), 2.0f));
    ASSERT_EQ(lines.size(), basketLines + 2) << "the basket's 172 vertices, then two push lines";
    ASSERT_EQ(triangles.size(), handleTriangles + 4 * casterTriangles);

    // The first cross rib at the rear: down the right side, across the floor, up the left.
    EXPECT_TRUE(isSegment(lines[0], b2Vec3(-0.7f, -0.4f, 1), b2Vec3(-0.49f, -0.28f, 0.45f)));
    EXPECT_TRUE(isSegment(lines[1], b2Vec3(-0.49f, -0.28f, 0.45f), b2Vec3(-0.49f, 0.28f, 0.45f)));
    EXPECT_TRUE(isSegment(lines[2], b2Vec3(-0.49f, 0.28f, 0.45f), b2Vec3(-0.7f, 0.4f, 1)));
    // The middle one (i = 6) stands straight up at x = 0; the last one at the front rim.
    for (size_t l = 18; l < 21; ++l)
        for (const b2Vec3& v : lines[l])
            EXPECT_NEAR(v.x, 0.0f, 1e-4f) << "middle cross rib, wire " << l - 18;
    EXPECT_NEAR(lines[38][1].x, 0.7f, 1e-4f);

    // The first long rib on the right: y -0.4 at the rim, -0.28 along the floor.
    EXPECT_TRUE(isSegment(lines[39], b2Vec3(-0.7f, -0.4f, 1), b2Vec3(-0.49f, -0.28f, 0.45f)));
    EXPECT_TRUE(isSegment(lines[40], b2Vec3(-0.49f, -0.28f, 0.45f), b2Vec3(0.49f, -0.28f, 0.45f)));

    // Rings from the floor up; the top ring is the rim, the outline of the body's box.
    EXPECT_TRUE(isSegment(lines[66], b2Vec3(-0.49f, -0.28f, 0.45f), b2Vec3(0.49f, -0.28f, 0.45f)));
    EXPECT_TRUE(isSegment(lines[82], b2Vec3(-0.7f, -0.4f, 1), b2Vec3(0.7f, -0.4f, 1)));
    EXPECT_TRUE(isSegment(lines[84], b2Vec3(0.7f, 0.4f, 1), b2Vec3(-0.7f, 0.4f, 1)));
}

TEST_F(CartDrawGl, PushLinesRunFromEachGripAlongItsPush)
{
    cart.hands()[0].push = b2Vec2(0.5f, 0.2f);
    cart.hands()[1].push = b2Vec2(-1.0f, -0.1f);
    capture(ObjectView(b2Vec3(0, 0, 0.5f), 2.0f));
    ASSERT_EQ(lines.size(), basketLines + 2);
    EXPECT_TRUE(isSegment(lines[basketLines], b2Vec3(-0.7f, 0.32f, 1), b2Vec3(-0.2f, 0.52f, 1)))
        << "left hand";
    EXPECT_TRUE(isSegment(lines[basketLines + 1], b2Vec3(-0.7f, -0.32f, 1), b2Vec3(-1.7f, -0.42f, 1)))
        << "right hand";
}

TEST_F(CartDrawGl, DrawsAtTheBodysPose)
{
    cart.body().SetTransform(b2Vec2(5, 7), b2_pi / 2);
    capture(ObjectView(b2Vec3(5, 7, 0.5f), 2.0f));
    ASSERT_EQ(lines.size(), basketLines + 2);
    // A quarter turn left: cart +x is world +y, cart +y is world -x.
    EXPECT_TRUE(closeTo(lines[0][0], b2Vec3(5.4f, 6.3f, 1), 1e-4f)) << "rear right rim corner";
    EXPECT_TRUE(closeTo(lines[basketLines][0], b2Vec3(4.68f, 6.3f, 1), 1e-4f)) << "left grip";
}

TEST_F(CartDrawGl, WheelsTrailTheirPivotsAndStandOnTheFloor)
{
    // Spinning in place about the centre of mass at the body origin: each pivot moves along
    // a circle, and its wheel trails 0.08 behind it, opposite that motion.
    cart.body().SetAngularVelocity(1.5f);
    capture(ObjectView(b2Vec3(0, 0, 0.5f), 2.0f));
    ASSERT_EQ(triangles.size(), handleTriangles + 4 * casterTriangles);

    const b2Vec2 pivots[4] = {{-0.42f, -0.24f}, {-0.42f, 0.24f}, {0.42f, -0.24f}, {0.42f, 0.24f}};
    for (size_t k = 0; k < 4; ++k) {
        const size_t first = handleTriangles + k * casterTriangles + (casterTriangles - wheelTriangles);
        std::vector<b2Vec3> wheel;
        for (size_t t = first; t < first + wheelTriangles; ++t)
            wheel.insert(wheel.end(), triangles[t].begin(), triangles[t].end());

        const b2Vec2 motion = b2Cross(1.5f, pivots[k]);  // the pivot's velocity
        const b2Vec2 trail = pivots[k] - (0.08f / motion.Length()) * motion;
        EXPECT_TRUE(closeTo(centroid(wheel), b2Vec3(trail.x, trail.y, 0.07f), 1e-4f)) << "caster " << k + 1;

        float lowest = wheel[0].z;
        for (const b2Vec3& v : wheel)
            lowest = std::min(lowest, v.z);
        EXPECT_NEAR(lowest, 0.0f, 1e-4f) << "caster " << k + 1 << " does not touch the floor";
    }
}

TEST_F(CartDrawGl, LeavesThePushLineStateAndTheMatrixStackAsFound)
{
    glMatrixMode(GL_MODELVIEW);
    glTranslatef(1, 2, 3);
    GLfloat before[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, before);

    ASSERT_NO_THROW(cart.render());

    GLint depth = 0;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    GLfloat after[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, after);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(after[i], before[i]) << "modelview element " << i;

    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_TRUE(
        closeTo(b2Color(colour[0], colour[1], colour[2], colour[3]), b2Color(0.3f, 0.1f, 0.1f, 1), 1e-6f));
    GLfloat width = 0;
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(width, 5.0f);
}
