#include <gtest/gtest.h>

#include <cmath>

#include "render/camera.h"

namespace {

constexpr float pi = 3.1415927f;

struct OneBody {
    b2World physics{b2Vec2(0.0f, 0.0f)};
    b2Body* body;

    OneBody(float x, float y, float angle)
    {
        b2BodyDef def;
        def.type = b2_dynamicBody;
        def.position.Set(x, y);
        def.angle = angle;
        body = physics.CreateBody(&def);
    }
};

}  // namespace

TEST(CameraEasing, ClosesTheFractionLagTimesDtTimesRate)
{
    b2Vec2 p(0.0f, 0.0f);
    easeToward(p, b2Vec2(2.0f, 0.0f), 1.0f, 0.1f);  // k = 2 * 0.1 * 1 = 0.2 of the raw difference
    EXPECT_FLOAT_EQ(p.x, 0.4f);
    EXPECT_FLOAT_EQ(p.y, 0.0f);

    // Quadratic in the lag: half the lag, a quarter of the step.
    b2Vec2 q(0.0f, 0.0f);
    easeToward(q, b2Vec2(0.0f, 1.0f), 1.0f, 0.1f);
    EXPECT_FLOAT_EQ(q.y, 0.1f);

    // A lag of 1 / (dt * rate) or more lands exactly on the target.
    b2Vec2 r(1.0f, 1.0f);
    easeToward(r, b2Vec2(11.0f, 1.0f), 1.0f, 0.1f);
    EXPECT_EQ(r, b2Vec2(11.0f, 1.0f));
}

TEST(CameraEasing, DeadZoneAndZeroFrame)
{
    b2Vec2 p(3.0f, 4.0f);
    easeToward(p, b2Vec2(3.0f + 0.00009f, 4.0f), 30.0f, 1.0f);
    EXPECT_EQ(p, b2Vec2(3.0f, 4.0f));
    easeToward(p, b2Vec2(10.0f, 4.0f), 30.0f, 0.0f);
    EXPECT_EQ(p, b2Vec2(3.0f, 4.0f));
}

TEST(FollowCamera, StartsAtTheCartAndKeepsItsHeadingOnAZeroFrame)
{
    OneBody cart(26.0f, 3.0f, pi);
    FollowCamera camera(*cart.body);
    EXPECT_EQ(camera.transform().p, b2Vec2(26.0f, 3.0f));
    camera.update(0.0f);
    EXPECT_EQ(camera.transform().p, b2Vec2(26.0f, 3.0f));
    EXPECT_EQ(camera.transform().q.s, cart.body->GetTransform().q.s);
    EXPECT_EQ(camera.transform().q.c, cart.body->GetTransform().q.c);
}

TEST(FollowCamera, SettlesBehindTheCartFacingItsCentre)
{
    OneBody cart(26.0f, 3.0f, pi);
    FollowCamera camera(*cart.body);
    camera.update(1.0f / 60.0f);  // 2.5 * dt * 30 >= 1: the first step jumps to the target
    EXPECT_NEAR(camera.transform().p.x, 28.5f, 1e-5);
    EXPECT_NEAR(camera.transform().p.y, 3.0f, 1e-5);
    EXPECT_NEAR(std::cos(camera.heading()), -1.0f, 1e-6);  // looking toward -x, at the cart

    OneBody slow(0.0f, 0.0f, 0.0f);
    FollowCamera trailing(*slow.body);
    trailing.update(0.01f);  // k = 2.5 * 0.01 * 30 = 0.75
    EXPECT_NEAR(trailing.transform().p.x, -1.875f, 1e-5);
}

TEST(FollowCamera, TargetDependsOnTheCartsHeadingNotItsMotion)
{
    // A cart facing +y but reversing: the eye still goes behind its rear, in front of the motion.
    OneBody cart(5.0f, 5.0f, pi / 2.0f);
    cart.body->SetLinearVelocity(b2Vec2(0.0f, -3.0f));
    FollowCamera camera(*cart.body);
    camera.update(1.0f / 30.0f);
    EXPECT_NEAR(camera.transform().p.x, 5.0f, 1e-5);
    EXPECT_NEAR(camera.transform().p.y, 2.5f, 1e-5);
    EXPECT_NEAR(camera.heading(), pi / 2.0f, 1e-5);

    // Spinning in place: the eye swings round on a circle of 2.5, always facing the centre.
    for (int i = 1; i <= 8; ++i) {
        cart.body->SetTransform(b2Vec2(5.0f, 5.0f), pi / 2.0f + i * pi / 4.0f);
        camera.update(1.0f / 30.0f);
        const b2Vec2 eye = camera.transform().p;
        const b2Vec2 toCart(5.0f - eye.x, 5.0f - eye.y);
        EXPECT_NEAR(toCart.Length(), 2.5f, 1e-4) << "step " << i;
        EXPECT_NEAR(toCart.x / 2.5f, std::cos(camera.heading()), 1e-4) << "step " << i;
        EXPECT_NEAR(toCart.y / 2.5f, std::sin(camera.heading()), 1e-4) << "step " << i;
    }
}

TEST(TopDownCamera, TrailsAMovingCartWithoutEverSnappingInsideTheStore)
{
    OneBody cart(26.0f, 3.0f, pi);
    TopDownCamera camera(*cart.body);
    EXPECT_EQ(camera.position(), b2Vec2(26.0f, 3.0f));

    // The longest lag inside a 32-unit store at the longest frame.
    cart.body->SetTransform(b2Vec2(26.0f - 31.0f, 3.0f + 31.0f), pi);
    const b2Vec2 target = cart.body->GetPosition();
    camera.update(1.0f / 30.0f);
    EXPECT_NE(camera.position(), target);
    EXPECT_GT((camera.position() - target).Length(), 1.0f);

    // A lag of 60 units or more does snap.
    cart.body->SetTransform(b2Vec2(26.0f + 60.0f, 3.0f), pi);
    TopDownCamera far(*cart.body);
    cart.body->SetTransform(b2Vec2(26.0f, 3.0f), pi);
    far.update(1.0f / 30.0f);
    EXPECT_EQ(far.position(), b2Vec2(26.0f, 3.0f));
}
