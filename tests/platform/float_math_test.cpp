#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "platform/float_math.h"

// The physics' trigonometry: every angle the game meets, and far beyond, rounds as the exact
// value does (the C library's double functions, rounded once, stand in for it); zeros,
// infinities and NaNs follow C's rules. A wrong coefficient or a slip in the range reduction shows
// as thousands of misrounded results.
TEST(FloatMath, RoundsAsTheExactValueAndKeepsCsRulesAtTheEdges)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(-2000.0f, 2000.0f);
    int misrounded = 0;
    for (int i = 0; i < 200000; ++i) {
        const float x = i % 2 ? angle(random) : angle(random) / 1000.0f;
        const float y = angle(random) / 100.0f;
        misrounded += portableSin(x) != static_cast<float>(std::sin(static_cast<double>(x)));
        misrounded += portableCos(x) != static_cast<float>(std::cos(static_cast<double>(x)));
        misrounded += portableAtan2(y, x) != static_cast<float>(std::atan2(static_cast<double>(y), x));
    }
    EXPECT_LE(misrounded, 2);

    const float inf = INFINITY;
    for (const float y : {0.0f, -0.0f, 1.0f, -1.0f, inf, -inf})
        for (const float x : {0.0f, -0.0f, 1.0f, -1.0f, inf, -inf}) {
            const float expected =
                static_cast<float>(std::atan2(static_cast<double>(y), static_cast<double>(x)));
            EXPECT_EQ(portableAtan2(y, x), expected) << y << ", " << x;
            EXPECT_EQ(std::signbit(portableAtan2(y, x)), std::signbit(expected)) << y << ", " << x;
        }
    EXPECT_TRUE(std::isnan(portableAtan2(NAN, 1.0f)));
    EXPECT_TRUE(std::isnan(portableSin(inf)));
    EXPECT_TRUE(std::isnan(portableCos(-inf)));
    EXPECT_TRUE(std::signbit(portableSin(-0.0f)));
    EXPECT_EQ(portableCos(0.0f), 1.0f);
}
