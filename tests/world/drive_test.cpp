// Whole runs in simulation: the built-in store driven by scripted controls through the real
// step, at 60 Hz, with no window.

#include <gtest/gtest.h>

#include <cmath>

#include "world/level.h"
#include "world/world.h"

namespace {

constexpr float dt = 1.0f / 60.0f;
constexpr float pi = 3.1415927f;

bool insideShelf(const LevelDesc& desc, b2Vec2 p)
{
    const int x = static_cast<int>(std::floor(p.x));
    const int y = static_cast<int>(std::floor(p.y));
    if (x < 0 || y < 0 || x >= desc.width || y >= desc.height)
        return true;
    return cellAt(desc, x, y) == 'x';
}

float wrapAngle(float a)
{
    while (a > pi)
        a -= 2.0f * pi;
    while (a < -pi)
        a += 2.0f * pi;
    return a;
}

}  // namespace

TEST(Drive, BothHandsForwardRunsStraightOnAndStopsAtTheWall)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    world.cart().controls[LeftForward] = true;
    world.cart().controls[RightForward] = true;

    float minX = 26.0f;
    for (int i = 0; i < 180; ++i) {  // 3 s
        world.step(dt);
        const b2Vec2 p = world.cart().body().GetPosition();
        ASSERT_FALSE(insideShelf(desc, p)) << "frame " << i << " at " << p.x << ", " << p.y;
        minX = std::min(minX, p.x);
        ASSERT_GT(p.x, 1.0f + 0.69f) << "through the left wall at frame " << i;
    }
    const b2Body& cart = world.cart().body();
    EXPECT_LT(minX, 3.0f);  // it got all the way down the aisle along its heading (-x)
    EXPECT_NEAR(cart.GetPosition().y, 3.0f, 0.3f);
    EXPECT_EQ(world.cart().hands()[0].push, b2Vec2(1.0f, 0.0f));
    // On the way it drove through the items at (19.5, 2.5) and (7.5, 2.5) and took them.
    EXPECT_FALSE(world.items()[11]);
    EXPECT_FALSE(world.items()[4]);
    EXPECT_EQ(world.itemsLeft(), 18);
}

TEST(Drive, TurnOnTheSpotThenDriveOntoTheNearestItem)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    Cart& cart = world.cart();
    const b2Vec2 goal(25.5f, 7.5f);  // the nearest item, up the aisle to the cart's right
    ASSERT_TRUE(world.items()[15]);
    ASSERT_EQ(world.items()[15]->x, goal.x);

    int frames = 0;
    while (world.itemsLeft() == 20 && frames < 60 * 20) {
        const b2Vec2 p = cart.body().GetPosition();
        const float wanted = std::atan2(goal.y - p.y, goal.x - p.x);
        const float error = wrapAngle(wanted - cart.body().GetAngle());
        cart.controls = CartControls{};
        if (error < -0.15f) {  // turn right: left hand forward, right hand back
            cart.controls[LeftForward] = true;
            cart.controls[RightBack] = true;
        } else if (error > 0.15f) {
            cart.controls[RightForward] = true;
            cart.controls[LeftBack] = true;
        } else {
            cart.controls[LeftForward] = true;
            cart.controls[RightForward] = true;
        }
        world.step(dt);
        ++frames;
        ASSERT_FALSE(insideShelf(desc, cart.body().GetPosition())) << "frame " << frames;
    }
    EXPECT_EQ(world.itemsLeft(), 19) << "after " << frames << " frames";
    EXPECT_FALSE(world.items()[15]);
    EXPECT_LT(frames, 60 * 5);
    EXPECT_NEAR(world.runClock(), frames * static_cast<double>(dt), 1e-9);
}
