// The World's drawing passes as OpenGL receives them: the store, the counters and the
// physics overlay.

#include <cmath>
#include <set>
#include <utility>

#include "main/shell_state.h"
#include "render/camera.h"
#include "render/gl.h"
#include "support/allocation_count.h"
#include "support/feedback.h"
#include "support/gl_context.h"
#include "support/gl_pixels.h"
#include "world/world.h"

using namespace gltest;

namespace {

using MapCell = std::pair<int, int>;  // x, y, in map order

class WorldDrawGl : public GlTest {
protected:
    LevelDesc desc = builtinLevel();
    World world{desc};

    std::set<MapCell> cellsWhere(bool shelf) const
    {
        std::set<MapCell> cells;
        for (int x = 0; x < desc.width; ++x)
            for (int y = 0; y < desc.height; ++y)
                if ((cellAt(desc, x, y) == 'x') == shelf)
                    cells.insert({x, y});
        return cells;
    }
};

// The flat squares at height z, as the cells they are centred on, each checked to span
// `size` across. Each square is two consecutive triangles.
std::set<MapCell> squaresAt(const std::vector<std::vector<b2Vec3>>& triangles, float z, float size)
{
    std::set<MapCell> cells;
    for (size_t t = 0; t + 1 < triangles.size(); ++t) {
        std::vector<b2Vec3> corners = triangles[t];
        corners.insert(corners.end(), triangles[t + 1].begin(), triangles[t + 1].end());
        bool flat = true;
        for (const b2Vec3& c : corners)
            flat = flat && b2Abs(c.z - z) < 1e-4f;
        if (!flat)
            continue;
        b2Vec3 low = corners[0];
        b2Vec3 high = corners[0];
        for (const b2Vec3& c : corners) {
            low = b2Vec3(std::min(low.x, c.x), std::min(low.y, c.y), 0);
            high = b2Vec3(std::max(high.x, c.x), std::max(high.y, c.y), 0);
        }
        EXPECT_NEAR(high.x - low.x, size, 1e-3f) << "square at " << low;
        EXPECT_NEAR(high.y - low.y, size, 1e-3f) << "square at " << low;
        cells.insert(
            {static_cast<int>(std::floor(low.x + 0.1f)), static_cast<int>(std::floor(low.y + 0.1f))});
        ++t;
    }
    return cells;
}

// The corners drawn for the first item's cube, relative to its centre, seen from above.
std::vector<b2Vec3> firstItemCorners(World& world)
{
    const Item& item = *world.items().at(0);
    const b2Vec3 centre(item.x, item.y, 0.7f);
    const ObjectView view(centre, 2.0f);
    std::vector<b2Vec3> corners;
    for (const Primitive& p : only(captureFeedback([&] { world.render(); }), Kind::Polygon))
        for (const b2Vec3& c : view.toObject(p)) {
            const b2Vec3 offset = c - centre;  // the cube reaches 0.61 from its centre
            if (std::hypot(offset.x, offset.y) < 0.65f && b2Abs(offset.z) < 0.65f)
                corners.push_back(offset);
        }
    return corners;
}

bool hasCornerNear(const std::vector<b2Vec3>& corners, const b2Vec3& p)
{
    for (const b2Vec3& c : corners)
        if (closeTo(c, p, 1e-3f))
            return true;
    return false;
}

struct CountingDraw final : b2Draw {
    int outlines = 0, fills = 0, circles = 0, solidCircles = 0, segments = 0, transforms = 0, points = 0;
    void DrawPolygon(const b2Vec2*, int32, const b2Color&) override { ++outlines; }
    void DrawSolidPolygon(const b2Vec2*, int32, const b2Color&) override { ++fills; }
    void DrawCircle(const b2Vec2&, float, const b2Color&) override { ++circles; }
    void DrawSolidCircle(const b2Vec2&, float, const b2Vec2&, const b2Color&) override { ++solidCircles; }
    void DrawSegment(const b2Vec2&, const b2Vec2&, const b2Color&) override { ++segments; }
    void DrawTransform(const b2Transform&) override { ++transforms; }
    void DrawPoint(const b2Vec2&, float, const b2Color&) override { ++points; }
};

}  // namespace

TEST_F(WorldDrawGl, StoreHasAFloorWithMarginTilesOnOpenCellsAndShelvesThreeHigh)
{
    // Seen from straight above with back faces culled, as the pass sets up.
    const ObjectView view(b2Vec3(16, 16, 1), 19.0f);
    Primitives store;
    ASSERT_NO_THROW(store = captureFeedback([&] { world.render(); }));
    std::vector<std::vector<b2Vec3>> triangles;
    for (const Primitive& p : only(store, Kind::Polygon))
        triangles.push_back(view.toObject(p));

    std::vector<std::vector<b2Vec3>> floor;
    for (const std::vector<b2Vec3>& t : triangles)
        if (b2Abs(t[0].z + 0.01f) < 1e-4f && b2Abs(t[1].z + 0.01f) < 1e-4f && b2Abs(t[2].z + 0.01f) < 1e-4f)
            floor.push_back(t);
    ASSERT_EQ(floor.size(), 2u) << "one floor quad";
    EXPECT_TRUE(closeTo(floor[0][0], b2Vec3(-2, -2, -0.01f), 1e-3f)) << "floor corner";
    EXPECT_TRUE(closeTo(floor[1][1], b2Vec3(34, 34, -0.01f), 1e-3f)) << "floor corner";

    const std::set<MapCell> tiles = squaresAt(triangles, 0.0f, 0.95f);
    EXPECT_EQ(tiles.size(), 807u);
    EXPECT_TRUE(tiles == cellsWhere(false)) << "tiles do not cover exactly the open cells (items included)";

    const std::set<MapCell> shelfTops = squaresAt(triangles, 3.0f, 1.0f);
    EXPECT_EQ(shelfTops.size(), 217u);
    EXPECT_TRUE(shelfTops == cellsWhere(true)) << "shelf tops at z = 3 are not on the shelf cells";
}

TEST_F(WorldDrawGl, TheStoreDrawnAgainThroughTheSameViewAllocatesNothing)
{
    // The chase camera among the shelves behind the cart, turned from its start to face up the
    // map: what the view needs fills every list there is, of the cells on either side of the eye
    // and of the sides between blocks, and the storage of the blocks' shadows.
    b2Body& cart = world.cart().body();
    cart.SetTransform(cart.GetPosition(), 0.5f * b2_pi);
    FollowCamera chase{cart};
    for (int i = 0; i < 60; ++i)
        chase.update(1.0f / 60.0f);
    glMatrixMode(GL_PROJECTION);
    gluPerspective(60.0, 4.0 / 3.0, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    chase.apply();
    // The first frame grows the lists; it and the second, which starts from the state the first
    // left, also have the driver compile its shaders for that state.
    ASSERT_NO_THROW(world.render());
    world.render();
    for (int frame = 3; frame <= 5; ++frame) {
        const long before = allocationCount();
        world.render();
        EXPECT_EQ(allocationCount() - before, 0) << "allocations in frame " << frame;
    }
}

TEST_F(WorldDrawGl, ItemsSpinAboutTheVertical)
{
    const std::vector<b2Vec3> still = firstItemCorners(world);
    ASSERT_GE(still.size(), 9u) << "the three faces seen from above";
    world.step(0.9f);  // 100 degrees a second
    ASSERT_NEAR(world.spinAngle(), 90.0f, 1e-3f);
    const std::vector<b2Vec3> turned = firstItemCorners(world);
    ASSERT_EQ(turned.size(), still.size());
    for (const b2Vec3& c : still)
        EXPECT_TRUE(hasCornerNear(turned, b2Vec3(-c.y, c.x, c.z)))
            << "corner " << c << " did not turn a quarter about the vertical";
}

TEST_F(WorldDrawGl, CountersKeepTheirDistanceFromTheTopAndRightEdgesOfAnyWindow)
{
    // The ink of both counters, drawn alone on grey in the pixel projection of a window.
    const auto inkIn = [&](WindowSize size, PixelBox& items, PixelBox& clock) {
        windowSize = size;
        glViewport(0, 0, size.width, size.height);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, size.width, 0, size.height, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glClearColor(0.5f, 0.5f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        ASSERT_NO_THROW(world.renderCounters());
        const Image image = Image::read(0, 0, size.width, size.height);
        items = image.where(isDark, 0, 0, size.width / 2 - 1, size.height - 1);
        clock = image.where(isDark, size.width / 2, 0, size.width - 1, size.height - 1);
    };
    PixelBox items, clock, smallerItems, smallerClock;
    inkIn(WindowSize{800, 600}, items, clock);
    ASSERT_GT(items.count, 0);
    ASSERT_GT(clock.count, 0);
    EXPECT_GT(items.bottom, 600 - 45) << "not at the top: " << items;
    EXPECT_GT(clock.left, 800 / 2) << "not at the right: " << clock;

    inkIn(WindowSize{640, 360}, smallerItems, smallerClock);
    EXPECT_EQ(smallerItems.left, items.left);
    EXPECT_EQ(smallerItems.top, items.top - 240);
    EXPECT_EQ(smallerItems.bottom, items.bottom - 240);
    EXPECT_EQ(smallerClock.right, clock.right - 160);
    EXPECT_EQ(smallerClock.top, clock.top - 240);

    // What the screens drawn on top rely on.
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
}

TEST_F(WorldDrawGl, PhysicsOverlayShowsEveryFixtureBoundingBoxPairAndBody)
{
    // The cart parked on the item at (7.5, 2.5): the first step finds the contact, the second
    // takes the item. Its sensor stays in the physics world and is still shown.
    world.cart().body().SetTransform(b2Vec2(7.5f, 2.5f), 0.0f);
    world.step(1.0f / 60.0f);
    world.step(1.0f / 60.0f);
    ASSERT_EQ(world.itemsLeft(), 19);
    int contacts = 0;
    for (const b2Contact* c = world.physics().GetContactList(); c; c = c->GetNext())
        ++contacts;
    ASSERT_GT(contacts, 0);

    // Over the lit, depth-tested, back-face-culled store, seen from above.
    const ObjectView view(b2Vec3(16, 16, 0), 19.0f);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_LIGHTING);
    glEnable(GL_CULL_FACE);
    glEnable(GL_BLEND);
    Primitives overlay;
    ASSERT_NO_THROW(overlay = captureFeedback([&] { world.renderPhysicsDebug(); }));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));

    // What the physics world asks a drawer for with every flag set ...
    CountingDraw asked;
    asked.SetFlags(0x1F);
    world.physics().SetDebugDraw(&asked);
    world.physics().DebugDraw();
    world.physics().SetDebugDraw(nullptr);
    EXPECT_EQ(asked.fills, 217 + 1) << "shelf boxes and the cart";
    EXPECT_EQ(asked.solidCircles, 20) << "every item sensor, taken or not";
    EXPECT_EQ(asked.outlines, 217 + 20 + 1) << "one bounding box per fixture";
    EXPECT_EQ(asked.segments, contacts);
    EXPECT_EQ(asked.transforms, 2);

    // ... is what the overlay draws, every fill facing up and nothing translucent.
    EXPECT_EQ(only(overlay, Kind::Polygon).size(), size_t(2 * asked.fills + 34 * asked.solidCircles));
    EXPECT_EQ(distinctLines(overlay), size_t(4 * asked.outlines + asked.segments + 6 * asked.transforms));
    size_t translucent = 0;
    for (const Primitive& p : overlay)
        for (const FeedbackVertex& v : p.vertices)
            translucent += v.colour.a != 1.0f;
    EXPECT_EQ(translucent, 0u);
}
