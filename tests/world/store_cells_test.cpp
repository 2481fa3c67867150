// What of the store one view lays down, from the matrices the cameras make: the view volume, the
// eye, and what the shelf blocks hide from an eye among them.

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <utility>

#include "support/small_level.h"
#include "world/store_cells.h"

namespace {

// A camera's matrices as glGetFloatv returns them: gluPerspective(60 degrees, 4:3, 0.1, 100) and
// gluLookAt from `eye` along `forward`, with `up`.
struct Camera {
    float modelview[16] = {};
    float projection[16] = {};
    int viewport[4] = {0, 0, 800, 600};

    Camera(const b2Vec3& eye, const b2Vec3& forward, const b2Vec3& up)
    {
        const float f = 1.0f / std::tan(30.0f * 3.14159265f / 180.0f);
        const float near = 0.1f;
        const float far = 100.0f;
        projection[0] = f * 3.0f / 4.0f;
        projection[5] = f;
        projection[10] = (far + near) / (near - far);
        projection[11] = -1.0f;
        projection[14] = 2.0f * far * near / (near - far);

        const b2Vec3 side = b2Cross(forward, up);
        const b2Vec3 rows[3] = {side, b2Cross(side, forward), -forward};
        for (int row = 0; row < 3; ++row) {
            modelview[row] = rows[row].x;
            modelview[4 + row] = rows[row].y;
            modelview[8 + row] = rows[row].z;
            modelview[12 + row] = -b2Dot(rows[row], eye);
        }
        modelview[15] = 1.0f;
    }
};

std::set<std::pair<int, int>> drawnCells(const StoreCells& cells)
{
    std::set<std::pair<int, int>> drawn;
    for (const auto* list : {&cells.reversed(), &cells.inMapOrder()})
        for (const Cell& cell : *list)
            drawn.insert({cell.x, cell.y});
    return drawn;
}

}  // namespace

TEST(StoreCells, AnEyeInAnAisleSkipsWhatIsBehindItAndBehindTheShelvesAndAViewFromAboveSkipsNothing)
{
    // A wall of shelf blocks across a short aisle, at x = 4.
    const SmallLevel level({"....x..", "....x..", "....x.."}, 1.5f, 1.5f, 0.0f);

    const Camera chase(b2Vec3(1.5f, 1.5f, 1.0f), b2Vec3(1, 0, 0), b2Vec3(0, 0, 1));
    const View among(chase.modelview, chase.projection, chase.viewport);
    ASSERT_TRUE(among.perspective());
    EXPECT_NEAR(among.eye().x, 1.5f, 1e-4f);
    EXPECT_NEAR(among.eye().y, 1.5f, 1e-4f);
    EXPECT_NEAR(among.eye().z, 1.0f, 1e-4f);
    EXPECT_NEAR(among.nearDistance(), 0.1f, 1e-4f);

    StoreCells cells;
    cells.update(level.desc, among);
    EXPECT_TRUE(cells.amongShelves());
    const auto drawn = drawnCells(cells);
    for (const std::pair<int, int>& shown : {std::pair{3, 0}, {3, 1}, {3, 2}, {4, 0}, {4, 1}, {4, 2}})
        EXPECT_EQ(drawn.count(shown), 1u) << "cell (" << shown.first << ", " << shown.second << ") in sight";
    for (int y = 0; y < 3; ++y) {
        // Looking level from 1 unit up with a 60 degree field, the floor shows from 1.7 units on.
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(drawn.count({x, y}), 0u)
                << "cell (" << x << ", " << y << ") is behind or below the view";
        EXPECT_EQ(drawn.count({6, y}), 0u) << "cell (6, " << y << ") is behind the wall";
    }

    const Camera overhead(b2Vec3(3.5f, 1.5f, 40.0f), b2Vec3(0, 0, -1), b2Vec3(0, 1, 0));
    // The same lists, kept for the next frame, from above: nothing of the view before stays.
    cells.update(level.desc, View(overhead.modelview, overhead.projection, overhead.viewport));
    EXPECT_FALSE(cells.amongShelves());
    EXPECT_EQ(drawnCells(cells).size(), 21u);
    EXPECT_EQ(cells.reversed().size() + cells.inMapOrder().size(), 21u) << "each cell once";
    EXPECT_TRUE(cells.taking().empty() && cells.leaving().empty()) << "blocks whole from above";
}
