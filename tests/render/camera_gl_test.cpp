// The cameras' view transforms as they land on the modelview matrix.

#include <cmath>

#include "render/camera.h"
#include "render/gl.h"
#include "support/feedback.h"
#include "support/gl_context.h"

using namespace gltest;

namespace {

class CameraGl : public GlTest {
protected:
    b2World physics{b2Vec2(0.0f, 0.0f)};
    b2Body* body = nullptr;

    void SetUp() override
    {
        GlTest::SetUp();
        b2BodyDef def;
        def.type = b2_dynamicBody;
        body = physics.CreateBody(&def);
    }

    // The eye-space position of world point p under the modelview matrix `apply` leaves.
    static b2Vec3 eyeOf(Camera& camera, b2Vec3 p)
    {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        camera.apply();
        GLfloat m[16];  // column major
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        return b2Vec3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12],
                      m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
                      m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
    }
};

}  // namespace

TEST_F(CameraGl, OverheadLooksStraightDownFromTwentyAboveWithWorldXUpTheScreen)
{
    body->SetTransform(b2Vec2(3, 4), 1.0f);  // the overhead view does not turn with the cart
    TopDownCamera camera(*body);
    // Eye space: x right, y up, looking along -z.
    EXPECT_TRUE(closeTo(eyeOf(camera, b2Vec3(3, 4, 0)), b2Vec3(0, 0, -20), 1e-5f))
        << "floor point below the eye";
    EXPECT_TRUE(closeTo(eyeOf(camera, b2Vec3(4, 4, 0)), b2Vec3(0, 1, -20), 1e-5f)) << "world +x is up";
    EXPECT_TRUE(closeTo(eyeOf(camera, b2Vec3(3, 5, 0)), b2Vec3(-1, 0, -20), 1e-5f)) << "world +y is left";
    EXPECT_TRUE(closeTo(eyeOf(camera, b2Vec3(3, 4, 3)), b2Vec3(0, 0, -17), 1e-5f)) << "up is toward the eye";
}

TEST_F(CameraGl, ChaseEyeLooksAlongItsHeadingFromEyeHeight)
{
    const float heading = 0.5f;
    body->SetTransform(b2Vec2(2, 1), heading);
    FollowCamera camera(*body);  // eye at the body's transform until its first update
    const b2Vec2 ahead(std::cos(heading), std::sin(heading));
    const b2Vec2 left(-ahead.y, ahead.x);
    EXPECT_TRUE(
        closeTo(eyeOf(camera, b2Vec3(2 + 4 * ahead.x, 1 + 4 * ahead.y, 1.3f)), b2Vec3(0, 0, -4), 1e-5f))
        << "a point ahead at eye height is dead ahead";
    EXPECT_TRUE(closeTo(eyeOf(camera, b2Vec3(2, 1, 2.3f)), b2Vec3(0, 1, 0), 1e-5f))
        << "world up is screen up";
    EXPECT_TRUE(closeTo(eyeOf(camera, b2Vec3(2 + left.x, 1 + left.y, 1.3f)), b2Vec3(-1, 0, 0), 1e-5f))
        << "the heading's left is screen left";
}

TEST_F(CameraGl, SettledChaseCameraSeesTheCartCentreAheadAndBelow)
{
    body->SetTransform(b2Vec2(10, 6), -2.0f);
    FollowCamera camera(*body);
    camera.update(1.0f / 30.0f);  // a lag of 2.5 at rate 30 is closed in one step
    EXPECT_TRUE(closeTo(eyeOf(camera, b2Vec3(10, 6, 0)), b2Vec3(0, -1.3f, -2.5f), 1e-4f));
}
