#include <gtest/gtest.h>

#include "world/counter_layout.h"

TEST(CounterLayout, ItemsLeftText)
{
    EXPECT_EQ(itemsLeftText(20), "20 items left");
    EXPECT_EQ(itemsLeftText(2), "2 items left");
    EXPECT_EQ(itemsLeftText(1), "1 item left");
    EXPECT_EQ(itemsLeftText(0), "0 items left");
    EXPECT_EQ(itemsLeftText(1000), "1000 items left");  // no thousands separator
}

TEST(CounterLayout, CountersKeepTheirDistanceFromTheTopAndRightEdges)
{
    EXPECT_FLOAT_EQ(itemsLeftX(), 10.666667f);
    EXPECT_FLOAT_EQ(counterBaseline(600), 561.6f);
    EXPECT_NEAR(800.0f - clockX(800, 120.0f) - 120.0f, 10.666667f, 1e-4);
    EXPECT_NEAR(clockX(800, 120.0f) + 120.0f, 789.33333f, 1e-4);

    // After a resize the same distances hold.
    EXPECT_NEAR(480.0f - counterBaseline(480), 600.0f - counterBaseline(600), 1e-4);
    EXPECT_NEAR(1920.0f - (clockX(1920, 150.0f) + 150.0f), 10.666667f, 1e-3);

    // On a 2x screen every distance is twice as many pixels; at scale 1 nothing moves a bit.
    EXPECT_EQ(counterBaseline(600), 561.6f);
    EXPECT_EQ(itemsLeftX(), static_cast<float>(32.0 / 3.0));
    EXPECT_EQ(clockX(800, 120.0f), static_cast<float>(800.0 - 32.0 / 3.0 - 120.0));
    EXPECT_FLOAT_EQ(1200.0f - counterBaseline(1200, 2.0f), 2.0f * (600.0f - counterBaseline(600)));
    EXPECT_FLOAT_EQ(itemsLeftX(2.0f), 2.0f * itemsLeftX());
    EXPECT_NEAR(1600.0f - (clockX(1600, 240.0f, 2.0f) + 240.0f), 2.0f * itemsLeftX(), 1e-3);
}

// In a window too narrow for both counters at their size (at 420 pixels "20 items left" would
// touch the clock), both shrink together until about a character's gap stands between them;
// wherever they fit they keep their size, to the bit.
TEST(CounterLayout, CountersShrinkTogetherWhereTheyWouldMeet)
{
    const float items = 247.0f, clock = 150.0f, gap = clock / 8;  // the game's font at 32 pixels
    EXPECT_EQ(counterShrink(800, items, clock, gap), 1.0f);
    EXPECT_EQ(counterShrink(1600, 2 * items, 2 * clock, 2 * gap, 2.0f), 1.0f);
    EXPECT_EQ(counterShrink(440, items, clock, gap), 1.0f);
    for (int width : {420, 400, 240}) {
        const float shrink = counterShrink(width, items, clock, gap);
        EXPECT_LT(shrink, 1.0f) << width;
        const float gapLeft = clockX(width, shrink * clock) - (itemsLeftX() + shrink * items);
        EXPECT_NEAR(gapLeft, shrink * gap, 0.01f) << width;
    }
    EXPECT_EQ(counterShrink(1, items, clock, gap), 0.05f);
}
