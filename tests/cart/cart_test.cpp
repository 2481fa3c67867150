#include <gtest/gtest.h>

#include <vector>

#include "cart/cart.h"

namespace {

constexpr float pi = 3.1415927f;

// One component driven through `steps` updates of dt with the given direction each step.
std::vector<float> rampSequence(float start, const std::vector<int>& directions, float limit, float dt)
{
    std::vector<float> values;
    float v = start;
    for (int d : directions) {
        v = rampPush(v, d, limit, dt);
        values.push_back(v);
    }
    return values;
}

void expectSequence(const std::vector<float>& actual, const std::vector<float>& expected)
{
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_NEAR(actual[i], expected[i], 1e-6) << "step " << i;
}

struct EmptyWorld {
    b2World physics{b2Vec2(0.0f, 0.0f)};
};

}  // namespace

TEST(CartBody, SettingsReadBackFromThePhysics)
{
    EmptyWorld w;
    Cart cart(w.physics, 26.0f, 3.0f, pi);
    const b2Body& body = cart.body();

    EXPECT_EQ(body.GetType(), b2_dynamicBody);
    EXPECT_EQ(body.GetPosition(), b2Vec2(26.0f, 3.0f));
    EXPECT_EQ(body.GetAngle(), pi);
    EXPECT_FLOAT_EQ(body.GetLinearDamping(), 0.3f);
    EXPECT_FLOAT_EQ(body.GetAngularDamping(), 0.8f);
    EXPECT_TRUE(body.IsSleepingAllowed());
    EXPECT_TRUE(body.IsAwake());
    EXPECT_FALSE(body.IsFixedRotation());
    EXPECT_FALSE(body.IsBullet());
    EXPECT_FLOAT_EQ(body.GetMass(), 0.2f * 1.4f * 0.8f);

    const b2Fixture* fixture = body.GetFixtureList();
    ASSERT_NE(fixture, nullptr);
    EXPECT_EQ(fixture->GetNext(), nullptr);
    EXPECT_EQ(fixture->GetType(), b2Shape::e_polygon);
    EXPECT_FLOAT_EQ(fixture->GetDensity(), 0.2f);
    EXPECT_FLOAT_EQ(fixture->GetFriction(), 1.0f);
    EXPECT_FLOAT_EQ(fixture->GetRestitution(), 0.2f);
    EXPECT_FALSE(fixture->IsSensor());
    EXPECT_EQ(fixture->GetShape()->m_radius, b2_polygonRadius);
    const auto& box = static_cast<const b2PolygonShape&>(*fixture->GetShape());
    ASSERT_EQ(box.m_count, 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(std::abs(box.m_vertices[i].x), 0.7f);
        EXPECT_FLOAT_EQ(std::abs(box.m_vertices[i].y), 0.4f);
    }

    // 80 % of the half-width in single precision: one step above the float 0.32f.
    EXPECT_EQ(cart.hands()[0].grip, b2Vec2(-0.7f, 0.32000002f));
    EXPECT_EQ(cart.hands()[1].grip, b2Vec2(-0.7f, -0.32000002f));
    EXPECT_NE(cart.hands()[0].grip.y, 0.32f);
    EXPECT_EQ(cart.hands()[0].push, b2Vec2(0.0f, 0.0f));
    for (bool flag : cart.controls)
        EXPECT_FALSE(flag);

    // A held sideways push stops at the right grip's slope, to the last bit.
    cart.controls[LeftLeft] = true;
    for (int i = 0; i < 10; ++i)
        cart.update(0.1f);
    EXPECT_EQ(cart.hands()[0].push.y, 0.45714289f);
}

TEST(CartDrive, PressRampsFromThirtyPercentToTheLimit)
{
    expectSequence(rampSequence(0.0f, {1, 1, 1, 1, 1, 1}, 1.0f, 0.1f), {0.3f, 0.5f, 0.7f, 0.9f, 1.0f, 1.0f});
    const float lateral = 0.45714289f;
    expectSequence(rampSequence(0.0f, {1, 1, 1, 1, 1}, lateral, 0.1f),
                   {0.137143f, 0.228571f, 0.32f, 0.411429f, 0.457143f});
    expectSequence(rampSequence(0.0f, {-1, -1}, 1.0f, 0.1f), {-0.3f, -0.5f});
    // A long frame takes a component from rest straight to the limit.
    EXPECT_FLOAT_EQ(rampPush(0.0f, 1, 1.0f, 0.5f), 1.0f);
    EXPECT_FLOAT_EQ(rampPush(0.0f, -1, lateral, 0.75f), -lateral);
}

TEST(CartDrive, ReleaseDecaysToExactlyZeroAndReversingSnaps)
{
    expectSequence(rampSequence(1.0f, {0, 0, 0, 0}, 1.0f, 0.03f), {0.7f, 0.4f, 0.1f, 0.0f});
    expectSequence(rampSequence(-0.25f, {0, 0}, 1.0f, 0.02f), {-0.05f, 0.0f});
    // Pulling back while pushing forward reverses at once to 30 % the other way.
    EXPECT_FLOAT_EQ(rampPush(0.8f, -1, 1.0f, 0.1f), -0.3f);
    EXPECT_FLOAT_EQ(rampPush(0.3f, 0, 0.45714289f, 0.1f), 0.0f);  // decay ignores the limit
}

TEST(CartDrive, ZeroFrameOnlyRaisesToTheMinimumShare)
{
    EXPECT_FLOAT_EQ(rampPush(0.0f, 1, 1.0f, 0.0f), 0.3f);
    EXPECT_FLOAT_EQ(rampPush(0.6f, 1, 1.0f, 0.0f), 0.6f);
    EXPECT_FLOAT_EQ(rampPush(0.6f, 0, 1.0f, 0.0f), 0.6f);
    EXPECT_FLOAT_EQ(rampPush(0.0f, 0, 1.0f, 0.0f), 0.0f);
}

TEST(CartDrive, PairsResolveTowardThePositiveKey)
{
    EXPECT_EQ(pairDirection(false, false), 0);
    EXPECT_EQ(pairDirection(true, false), -1);
    EXPECT_EQ(pairDirection(false, true), 1);
    EXPECT_EQ(pairDirection(true, true), 1);

    EmptyWorld w;
    Cart cart(w.physics, 0.0f, 0.0f, 0.0f);
    cart.controls[LeftBack] = true;
    cart.controls[LeftForward] = true;
    cart.update(0.1f);
    EXPECT_FLOAT_EQ(cart.hands()[0].push.x, 0.3f);

    // Forward pulled back, lateral released: (0.8, 0.3) -> (-0.3, 0).
    cart.hands()[0].push.Set(0.8f, 0.3f);
    cart.controls = CartControls{};
    cart.controls[LeftBack] = true;
    cart.update(0.1f);
    EXPECT_FLOAT_EQ(cart.hands()[0].push.x, -0.3f);
    EXPECT_EQ(cart.hands()[0].push.y, 0.0f);
    EXPECT_EQ(cart.hands()[1].push, b2Vec2(0.0f, 0.0f));
}

TEST(CartDrive, EachFlagMovesItsOwnHandAndAxis)
{
    const float lateral = 0.45714289f;
    const struct {
        ControlIndex flag;
        int hand;
        b2Vec2 push;
    } cases[] = {
        {LeftBack, 0, {-0.3f, 0.0f}},
        {LeftForward, 0, {0.3f, 0.0f}},
        {LeftRight, 0, {0.0f, -0.3f * lateral}},
        {LeftLeft, 0, {0.0f, 0.3f * lateral}},
        {RightBack, 1, {-0.3f, 0.0f}},
        {RightForward, 1, {0.3f, 0.0f}},
        {RightRight, 1, {0.0f, -0.3f * lateral}},
        {RightLeft, 1, {0.0f, 0.3f * lateral}},
    };
    for (const auto& c : cases) {
        EmptyWorld w;
        Cart cart(w.physics, 0.0f, 0.0f, 0.0f);
        cart.controls[c.flag] = true;
        cart.update(0.0f);
        EXPECT_NEAR(cart.hands()[c.hand].push.x, c.push.x, 1e-6) << "flag " << c.flag;
        EXPECT_NEAR(cart.hands()[c.hand].push.y, c.push.y, 1e-6) << "flag " << c.flag;
        EXPECT_EQ(cart.hands()[1 - c.hand].push, b2Vec2(0.0f, 0.0f)) << "flag " << c.flag;
    }
}

TEST(CartDrive, OneHandForwardPushesAndTurnsClockwise)
{
    // Box2D keeps forces private; read them back through one step's velocity change:
    // v = dt * F / m / (1 + dt * linear damping), w = dt * T / I / (1 + dt * angular damping).
    EmptyWorld w;
    Cart cart(w.physics, 5.0f, 5.0f, 0.0f);
    const float dt = 1.0f / 60.0f;
    cart.controls[LeftForward] = true;
    cart.update(dt);
    w.physics.Step(dt, 10, 10);

    const b2Body& body = cart.body();
    const double force = 0.3;
    const double moment = -0.32 * 0.3;  // (-0.7, 0.32) x (0.3, 0)
    EXPECT_NEAR(moment, -0.096, 1e-12);
    EXPECT_NEAR(body.GetLinearVelocity().x, dt * force / body.GetMass() / (1.0 + dt * 0.3), 1e-6);
    EXPECT_NEAR(body.GetLinearVelocity().y, 0.0, 1e-6);
    EXPECT_NEAR(body.GetAngularVelocity(), dt * moment / body.GetInertia() / (1.0 + dt * 0.8), 1e-5);
    EXPECT_LT(body.GetAngularVelocity(), 0.0f);  // clockwise seen from above
}

TEST(CartDrive, ZeroPushStillWakesTheBodyEveryUpdate)
{
    EmptyWorld w;
    Cart cart(w.physics, 0.0f, 0.0f, 0.0f);
    for (int i = 0; i < 240; ++i) {  // 4 s at rest: long enough to fall asleep
        cart.update(1.0f / 60.0f);
        EXPECT_TRUE(cart.body().IsAwake()) << "update " << i;
        w.physics.Step(1.0f / 60.0f, 10, 10);
    }
    EXPECT_EQ(cart.hands()[0].push, b2Vec2(0.0f, 0.0f));
    EXPECT_EQ(cart.hands()[1].push, b2Vec2(0.0f, 0.0f));
}

TEST(CartCasters, HeadingsFollowTheVelocityAtEachPivot)
{
    const b2Vec2 pivots[4] = {{-0.42f, -0.24f}, {-0.42f, 0.24f}, {0.42f, -0.24f}, {0.42f, 0.24f}};
    {
        EmptyWorld w;
        Cart cart(w.physics, 0.0f, 0.0f, 0.0f);
        cart.body().SetAngularVelocity(1.5f);
        const float expected[4] = {-60.26f, -119.74f, 60.26f, 119.74f};
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(cart.casterHeading(pivots[i]), expected[i], 0.01f) << "caster " << i;
    }
    {
        EmptyWorld w;
        Cart cart(w.physics, 26.0f, 3.0f, pi);  // at rest at the start heading: trailing forward
        for (const b2Vec2& pivot : pivots)
            EXPECT_NEAR(cart.casterHeading(pivot), 180.0f, 1e-3f);
    }
    {
        EmptyWorld w;
        Cart cart(w.physics, 0.0f, 0.0f, 0.0f);
        cart.body().SetLinearVelocity(b2Vec2(2.0f, 0.0f));  // straight ahead
        for (const b2Vec2& pivot : pivots)
            EXPECT_NEAR(cart.casterHeading(pivot), 0.0f, 1e-4f);
    }
}
