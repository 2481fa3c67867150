#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/small_level.h"
#include "world/level.h"
#include "world/world.h"

namespace {

struct FixtureCounts {
    int boxes = 0;
    int sensors = 0;
    int other = 0;
};

FixtureCounts countGroundFixtures(const World& world)
{
    FixtureCounts counts;
    for (const b2Fixture* f = world.ground().GetFixtureList(); f; f = f->GetNext()) {
        if (f->GetType() == b2Shape::e_polygon && !f->IsSensor())
            ++counts.boxes;
        else if (f->GetType() == b2Shape::e_circle && f->IsSensor())
            ++counts.sensors;
        else
            ++counts.other;
    }
    return counts;
}

b2Vec2 boxCentre(const b2Fixture& fixture)
{
    const auto& box = static_cast<const b2PolygonShape&>(*fixture.GetShape());
    return box.m_centroid;
}

int touchingContacts(World& world)
{
    int touching = 0;
    for (b2Contact* c = world.physics().GetContactList(); c; c = c->GetNext())
        touching += c->IsTouching() ? 1 : 0;
    return touching;
}

}  // namespace

TEST(WorldConstruction, BuiltInStoreHasEveryShelfAndItemOnOneStaticGroundBody)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);

    const FixtureCounts counts = countGroundFixtures(world);
    EXPECT_EQ(counts.boxes, 217);
    EXPECT_EQ(counts.sensors, 20);
    EXPECT_EQ(counts.other, 0);
    EXPECT_EQ(world.ground().GetType(), b2_staticBody);
    EXPECT_EQ(world.ground().GetPosition(), b2Vec2(0.0f, 0.0f));
    EXPECT_EQ(world.physics().GetBodyCount(), 2);  // the ground and the cart
    EXPECT_EQ(world.itemsLeft(), 20);
    EXPECT_EQ(world.runClock(), 0.0);
    EXPECT_EQ(world.spinAngle(), 0.0f);
    EXPECT_TRUE(world.physics().GetAllowSleeping());
    EXPECT_EQ(world.physics().GetGravity(), b2Vec2(0.0f, 0.0f));
}

TEST(WorldConstruction, ItemsComeColumnByColumnFromTheBottom)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    const std::vector<b2Vec2> expected = {{2.5f, 23.5f},  {3.5f, 8.5f},   {3.5f, 29.5f},  {6.5f, 14.5f},
                                          {7.5f, 2.5f},   {7.5f, 20.5f},  {7.5f, 25.5f},  {9.5f, 10.5f},
                                          {14.5f, 13.5f}, {14.5f, 17.5f}, {14.5f, 27.5f}, {19.5f, 2.5f},
                                          {20.5f, 11.5f}, {21.5f, 21.5f}, {22.5f, 26.5f}, {25.5f, 7.5f},
                                          {25.5f, 29.5f}, {27.5f, 14.5f}, {28.5f, 18.5f}, {28.5f, 27.5f}};
    ASSERT_EQ(world.items().size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(world.items()[i]);
        EXPECT_EQ(world.items()[i]->x, expected[i].x) << "item " << i;
        EXPECT_EQ(world.items()[i]->y, expected[i].y) << "item " << i;
    }
}

TEST(WorldConstruction, SensorsAndBoxesSitOnTheirCells)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);

    bool topRowBoxFound = false;
    int sensorsMatched = 0;
    for (const b2Fixture* f = world.ground().GetFixtureList(); f; f = f->GetNext()) {
        if (f->GetType() == b2Shape::e_circle) {
            const auto& circle = static_cast<const b2CircleShape&>(*f->GetShape());
            EXPECT_EQ(circle.m_radius, 0.5f);
            EXPECT_FLOAT_EQ(f->GetFriction(), 0.2f);
            EXPECT_EQ(f->GetRestitution(), 0.0f);
            EXPECT_EQ(f->GetDensity(), 0.0f);
            const uintptr_t tag = const_cast<b2Fixture*>(f)->GetUserData().pointer;
            ASSERT_GE(tag, 1u);
            ASSERT_LE(tag, world.items().size());
            const Item& item = *world.items()[tag - 1];
            EXPECT_EQ(circle.m_p, b2Vec2(item.x, item.y));
            ++sensorsMatched;
        } else {
            const b2Vec2 c = boxCentre(*f);
            const char cell = cellAt(desc, static_cast<int>(c.x), static_cast<int>(c.y));
            EXPECT_EQ(cell, 'x') << "box at " << c.x << ", " << c.y;
            EXPECT_FLOAT_EQ(c.x - std::floor(c.x), 0.5f);
            EXPECT_FLOAT_EQ(c.y - std::floor(c.y), 0.5f);
            EXPECT_EQ(f->GetShape()->m_radius, b2_polygonRadius);
            EXPECT_EQ(const_cast<b2Fixture*>(f)->GetUserData().pointer, 0u);
            EXPECT_FALSE(f->IsSensor());
            const b2Filter& filter = f->GetFilterData();
            EXPECT_EQ(filter.categoryBits, 0x0001);
            EXPECT_EQ(filter.maskBits, 0xFFFF);
            EXPECT_EQ(filter.groupIndex, 0);
            // Row 0 of the text is the top of the map.
            topRowBoxFound |= (c == b2Vec2(5.5f, 31.5f));
        }
    }
    EXPECT_TRUE(topRowBoxFound);
    EXPECT_EQ(sensorsMatched, 20);
}

TEST(WorldConstruction, SmallMaps)
{
    {
        SmallLevel level({"x.1", "  x"}, 1.5f, 0.5f, 0.0f);  // no 'o'; digits and dots are floor
        World world(level.desc);
        EXPECT_TRUE(world.items().empty());
        EXPECT_EQ(world.itemsLeft(), 0);
        const FixtureCounts counts = countGroundFixtures(world);
        EXPECT_EQ(counts.boxes, 2);
        EXPECT_EQ(counts.sensors, 0);
    }
    {
        SmallLevel level({"o"}, 0.5f, 0.5f, 0.0f);
        World world(level.desc);
        ASSERT_EQ(world.items().size(), 1u);
        EXPECT_EQ(world.items()[0]->x, 0.5f);
        EXPECT_EQ(world.items()[0]->y, 0.5f);
        EXPECT_EQ(world.itemsLeft(), 1);
    }
    {
        SmallLevel level({}, 0.0f, 0.0f, 0.0f);  // an empty map still makes a world with a cart
        World world(level.desc);
        EXPECT_EQ(world.itemsLeft(), 0);
        EXPECT_EQ(world.physics().GetBodyCount(), 2);
    }
}

TEST(WorldConstruction, CartStartsAtTheStartPoseOnOpenFloor)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    const b2Body& body = world.cart().body();
    EXPECT_EQ(body.GetPosition(), b2Vec2(26.0f, 3.0f));
    EXPECT_EQ(body.GetAngle(), 3.1415927f);
    for (int dx = -1; dx <= 0; ++dx)
        for (int dy = -1; dy <= 0; ++dy)
            EXPECT_NE(cellAt(desc, 26 + dx, 3 + dy), 'x');
}

TEST(WorldStep, ClockSpinAndPickupOfTheItemUnderTheCart)
{
    SmallLevel level({"xxxxx", "x   x", "x o x", "x   x", "xxxxx"}, 2.5f, 2.5f, 0.0f);
    World world(level.desc);
    ASSERT_EQ(world.itemsLeft(), 1);

    world.step(0.02f);  // the first step whose contact touches takes the item
    EXPECT_EQ(world.itemsLeft(), 0);
    EXPECT_FALSE(world.items()[0]);
    EXPECT_EQ(world.items().size(), 1u);  // the slot stays, empty
    EXPECT_EQ(world.runClock(), static_cast<double>(0.02f));
    EXPECT_FLOAT_EQ(world.spinAngle(), 2.0f);

    // Staying on the spot: the sensor keeps touching but matches no slot again.
    for (int i = 0; i < 30; ++i)
        world.step(1.0f / 60.0f);
    EXPECT_EQ(world.itemsLeft(), 0);
    EXPECT_GE(touchingContacts(world), 1);
}

TEST(WorldStep, TwoItemsUnderTheCartGoInOneStep)
{
    SmallLevel level({"xxxx", "xoox", "xxxx"}, 2.0f, 1.5f, 0.0f);
    World world(level.desc);
    ASSERT_EQ(world.itemsLeft(), 2);
    EXPECT_EQ(world.lastStep().itemsTaken, 0);
    world.step(1.0f / 60.0f);
    EXPECT_EQ(world.itemsLeft(), 0);
    EXPECT_EQ(world.lastStep().itemsTaken, 2);
    EXPECT_FALSE(world.items()[0]);
    EXPECT_FALSE(world.items()[1]);
    world.step(1.0f / 60.0f);
    EXPECT_EQ(world.lastStep().itemsTaken, 0);
}

TEST(WorldStep, PushingIntoAShelfTakesNothing)
{
    SmallLevel level({"xxxxxx", "x   ox", "xxxxxx"}, 1.8f, 1.5f, 3.1415927f);
    World world(level.desc);
    world.cart().controls[LeftForward] = true;
    world.cart().controls[RightForward] = true;
    for (int i = 0; i < 60; ++i)
        world.step(1.0f / 60.0f);
    EXPECT_GE(touchingContacts(world), 1);  // the cart rests against the left wall
    EXPECT_EQ(world.itemsLeft(), 1);
    EXPECT_TRUE(world.items()[0]);
}

TEST(WorldStep, SpinAngleIsNeverWrapped)
{
    SmallLevel level({"   "}, 1.5f, 0.5f, 0.0f);
    World world(level.desc);
    for (int i = 0; i < 432; ++i)  // 7.2 s
        world.step(1.0f / 60.0f);
    EXPECT_NEAR(world.spinAngle(), 720.0f, 0.01f);
    EXPECT_NEAR(world.runClock(), 7.2, 1e-6);
}

TEST(RunTime, MinutesSecondsMilliseconds)
{
    EXPECT_EQ(formatRunTime(0.0), "0:00.000");
    EXPECT_EQ(formatRunTime(59.9999), "0:59.999");
    EXPECT_EQ(formatRunTime(61.5), "1:01.500");
    EXPECT_EQ(formatRunTime(83.25), "1:23.250");
    EXPECT_EQ(formatRunTime(3600.0), "60:00.000");
    // Out of any real run's range, the text stays well formed.
    EXPECT_EQ(formatRunTime(-1.0), "0:00.000");
    EXPECT_EQ(formatRunTime(std::nan("")), "0:00.000");
}

TEST(RunTime, WorldShowsItsOwnClock)
{
    SmallLevel level({"   "}, 1.5f, 0.5f, 0.0f);
    World world(level.desc);
    EXPECT_EQ(world.runTimeText(), "0:00.000");
    for (int i = 0; i < 90; ++i)
        world.step(1.0f / 60.0f);
    EXPECT_EQ(world.runTimeText(), formatRunTime(world.runClock()));
    EXPECT_EQ(world.runTimeText().substr(0, 5), "0:01.");
}
