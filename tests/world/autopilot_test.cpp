// The autopilot: route planning over the map, and whole runs of the built-in store played
// through the eight driving flags alone at 60 Hz, checked frame by frame against the shelves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "support/autopilot.h"
#include "support/sim_checks.h"
#include "support/small_level.h"

namespace {

constexpr float frameTime = 1.0f / 60.0f;
// The autopilot's par on the built-in store is 37.30 s of game time (2238 frames at 60 Hz).
// The bound leaves room for a small change in the drive or the physics that sends it along a
// slightly different line, or costs it one recovery from a shelf; a real loss of control or
// a route that no longer works goes far past it.
constexpr double timeBound = 48.0;
// The physics keeps the cart's box out of the shelves up to a hundredth or so.
constexpr float allowedCornerDepth = 0.05f;

struct RunResult {
    int frames = 0;
    int framesTouchingShelves = 0;
};

bool touchingShelf(World& world)
{
    for (b2Contact* c = world.physics().GetContactList(); c; c = c->GetNext())
        if (c->IsTouching() && !c->GetFixtureA()->IsSensor() && !c->GetFixtureB()->IsSensor())
            return true;
    return false;
}

// Plays `world` with the autopilot until every item is taken or `limit` seconds have passed,
// failing the test at the first frame in which the cart is inside a shelf.
RunResult fly(World& world, double limit)
{
    const LevelDesc& desc = world.desc();
    sim::Autopilot pilot(world);
    RunResult result;
    while (world.itemsLeft() > 0 && world.runClock() < limit) {
        world.cart().controls = pilot.steer(world, frameTime);
        world.step(frameTime);
        ++result.frames;
        const b2Body& body = world.cart().body();
        EXPECT_FALSE(sim::centreInShelf(desc, body.GetPosition()))
            << "frame " << result.frames << ": " << sim::describe(world);
        EXPECT_LE(sim::deepestCornerInShelf(desc, body), allowedCornerDepth)
            << "frame " << result.frames << ": " << sim::describe(world);
        if (testing::Test::HasFailure())
            break;
        result.framesTouchingShelves += touchingShelf(world) ? 1 : 0;
    }
    return result;
}

// The cost of a cell path under the planner's own rules, recomputed step by step: also
// checks that every step goes to a neighbour, onto open floor, and not across a shelf corner.
void expectWalkable(const sim::GridPlanner& planner, const std::vector<sim::Cell>& path)
{
    for (size_t i = 0; i < path.size(); ++i) {
        EXPECT_TRUE(planner.isOpen(path[i])) << "cell " << i;
        if (i == 0)
            continue;
        const int dx = path[i].x - path[i - 1].x;
        const int dy = path[i].y - path[i - 1].y;
        ASSERT_LE(std::max(std::abs(dx), std::abs(dy)), 1) << "jump at cell " << i;
        ASSERT_FALSE(dx == 0 && dy == 0) << "standing still at cell " << i;
        if (dx != 0 && dy != 0) {
            EXPECT_TRUE(planner.isOpen(sim::Cell{path[i - 1].x + dx, path[i - 1].y}) &&
                        planner.isOpen(sim::Cell{path[i - 1].x, path[i - 1].y + dy}))
                << "cuts a shelf corner at cell " << i;
        }
    }
}

}  // namespace

TEST(Autopilot, ClearsTheBuiltInStoreWithinParWithoutEnteringAShelf)
{
    const LevelDesc desc = builtinLevel();
    World world(desc);
    const RunResult run = fly(world, timeBound);
    std::printf("autopilot: %d items left after %.3f s of game time (%d frames, %d touching a shelf)\n",
                world.itemsLeft(), world.runClock(), run.frames, run.framesTouchingShelves);
    EXPECT_EQ(world.itemsLeft(), 0);
    EXPECT_EQ(sim::slotsHeld(world), 0);
    EXPECT_LE(world.runClock(), timeBound);
}

TEST(Autopilot, FindsItsWayAroundAWallItStartsFacing)
{
    // The cart starts with its nose against a wall, items on the far side and in a corner.
    // clang-format off
    SmallLevel level({"xxxxxxxxxxxx",
                 "x   o      x",
                 "x          x",
                 "x   xxxxx  x",
                 "x   xxxxx  x",
                 "x          x",
                 "xo        ox",
                 "xxxxxxxxxxxx"},
                6.5f, 2.25f, 3.1415927f / 2.0f);  // the nose 0.05 short of the wall
    // clang-format on
    World world(level.desc);
    ASSERT_EQ(world.itemsLeft(), 3);
    fly(world, 30.0);
    EXPECT_EQ(world.itemsLeft(), 0) << sim::describe(world);
}

TEST(GridPlanner, PathsAreShortestWalksOverOpenFloor)
{
    const LevelDesc desc = builtinLevel();
    const sim::GridPlanner planner(desc);
    const sim::Cell start{26, 3};
    const std::vector<float> costs = planner.costsFrom(start);
    World world(desc);
    for (const auto& item : world.items()) {
        const sim::Cell goal{static_cast<int>(item->x), static_cast<int>(item->y)};
        const std::vector<sim::Cell> path = planner.path(start, goal);
        ASSERT_GE(path.size(), 2u);
        EXPECT_TRUE(path.front() == start);
        EXPECT_TRUE(path.back() == goal);
        expectWalkable(planner, path);
        // A* finds what the exhaustive search does (its estimate never overshoots), and the
        // way back costs the same, as the visit order assumes.
        const float cost = costs[static_cast<size_t>(goal.y * desc.width + goal.x)];
        EXPECT_NEAR(planner.pathCost(path), cost, 1e-3f);
        EXPECT_NEAR(planner.costsFrom(goal)[static_cast<size_t>(start.y * desc.width + start.x)], cost,
                    1e-3f);
    }
    EXPECT_TRUE(planner.path(start, sim::Cell{0, 0}).empty());  // a shelf cell
    EXPECT_TRUE(std::isinf(costs[0]));
}

TEST(GridPlanner, RoutesKeepToTheMiddleAndCornersAreCutOnlyWhereItIsClear)
{
    // clang-format off
    SmallLevel level({"xxxxxxxxxxxx",
                 "x          x",
                 "x          x",
                 "x          x",
                 "x          x",
                 "x          x",
                 "xxxxxxx    x",
                 "xxxxxxx    x",
                 "xxxxxxx    x",
                 "xxxxxxxxxxxx"},
                1.5f, 5.5f, 0.0f);
    // clang-format on
    const sim::GridPlanner planner(level.desc);
    // Along a five-cell-wide hall from its end wall: the middle row, not the wall's side.
    const std::vector<sim::Cell> along = planner.path(sim::Cell{1, 6}, sim::Cell{9, 6});
    expectWalkable(planner, along);
    for (size_t i = 2; i + 2 < along.size(); ++i)
        EXPECT_EQ(along[i].y, 6) << "cell " << i;

    // Round the corner into the side aisle: the smoothed line replaces the cells with a few
    // straight stretches that never come closer to a shelf than the cells themselves did.
    const std::vector<sim::Cell> round = planner.path(sim::Cell{1, 6}, sim::Cell{9, 1});
    const std::vector<b2Vec2> line = planner.smooth(sim::centreOf(round.front()), round);
    EXPECT_LT(line.size(), round.size() / 2);
    EXPECT_EQ(line.back(), sim::centreOf(round.back()));
    float cellClearance = 1.0f;
    for (const sim::Cell& c : round)
        cellClearance = std::min(cellClearance, sim::shelfClearance(level.desc, sim::centreOf(c)));
    for (size_t i = 1; i < line.size(); ++i)
        for (int k = 0; k <= 20; ++k) {
            const b2Vec2 p = line[i - 1] + (static_cast<float>(k) / 20.0f) * (line[i] - line[i - 1]);
            EXPECT_GE(sim::shelfClearance(level.desc, p), std::min(cellClearance, 0.85f) - 0.03f)
                << "segment " << i << " at " << p.x << ", " << p.y;
        }
}

TEST(VisitOrder, BeatsNearestNeighbourAndComesCloseToTheBestOrder)
{
    // Points on a line, start at 0: nearest neighbour goes 1, 3, then all the way back to
    // -1.5 (7.5); the best order takes -1.5 first (6).
    {
        const std::vector<float> at = {0.0f, 1.0f, -1.5f, 3.0f};
        std::vector<std::vector<float>> cost(4, std::vector<float>(4));
        for (size_t i = 0; i < 4; ++i)
            for (size_t j = 0; j < 4; ++j)
                cost[i][j] = std::fabs(at[i] - at[j]);
        const std::vector<int> order = sim::planVisitOrder(cost);
        EXPECT_EQ(order, (std::vector<int>{2, 1, 3}));
        EXPECT_FLOAT_EQ(sim::orderCost(cost, order), 6.0f);
    }
    // Random points in a square, against every permutation.
    std::mt19937 rng(20240611u);
    std::uniform_real_distribution<float> coordinate(0.0f, 30.0f);
    for (int instance = 0; instance < 20; ++instance) {
        std::vector<b2Vec2> points(8);
        for (b2Vec2& p : points)
            p.Set(coordinate(rng), coordinate(rng));
        std::vector<std::vector<float>> cost(8, std::vector<float>(8));
        for (size_t i = 0; i < 8; ++i)
            for (size_t j = 0; j < 8; ++j)
                cost[i][j] = (points[i] - points[j]).Length();
        const std::vector<int> order = sim::planVisitOrder(cost);
        std::vector<int> sorted = order;
        std::sort(sorted.begin(), sorted.end());
        ASSERT_EQ(sorted, (std::vector<int>{1, 2, 3, 4, 5, 6, 7})) << "instance " << instance;
        float best = 1e9f;
        std::vector<int> permutation = sorted;
        do {
            best = std::min(best, sim::orderCost(cost, permutation));
        } while (std::next_permutation(permutation.begin(), permutation.end()));
        std::vector<int> greedy;
        std::vector<bool> taken(8, false);
        for (int at = 0; greedy.size() < 7;) {
            int next = -1;
            for (int j = 1; j < 8; ++j)
                if (!taken[static_cast<size_t>(j)] &&
                    (next < 0 || cost[static_cast<size_t>(at)][static_cast<size_t>(j)] <
                                     cost[static_cast<size_t>(at)][static_cast<size_t>(next)]))
                    next = j;
            taken[static_cast<size_t>(next)] = true;
            greedy.push_back(next);
            at = next;
        }
        EXPECT_LE(sim::orderCost(cost, order), sim::orderCost(cost, greedy)) << "instance " << instance;
        EXPECT_LE(sim::orderCost(cost, order), best * 1.06f) << "instance " << instance;
    }
}
