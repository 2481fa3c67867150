#include <gtest/gtest.h>

#include <box2d/box2d.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include "platform/float_math.h"
#include "platform/physics_library_math.h"

namespace {

float floatOfBits(std::uint32_t bits)
{
    float x = 0.0f;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

// A double-double: hi + lo, |lo| at most half an ulp of hi, some 106 bits in all. Only exact
// operations of doubles underneath (Knuth's and Dekker's), so it gives the same on every system.
struct Wide {
    double hi;
    double lo;
};

Wide twoSum(double a, double b)
{
    const double s = a + b;
    const double v = s - a;
    return {s, (a - (s - v)) + (b - v)};
}

Wide twoProduct(double a, double b)
{
    constexpr double split = 134217729.0;  // 2^27 + 1
    const double p = a * b;
    const double ca = split * a;
    const double ah = ca - (ca - a);
    const double al = a - ah;
    const double cb = split * b;
    const double bh = cb - (cb - b);
    const double bl = b - bh;
    return {p, ((ah * bh - p) + ah * bl + al * bh) + al * bl};
}

Wide add(Wide a, Wide b)
{
    const Wide s = twoSum(a.hi, b.hi);
    return twoSum(s.hi, s.lo + a.lo + b.lo);
}

Wide multiply(Wide a, Wide b)
{
    const Wide p = twoProduct(a.hi, b.hi);
    return twoSum(p.hi, p.lo + a.hi * b.lo + a.lo * b.hi);
}

Wide divide(Wide a, double d)
{
    const double q = a.hi / d;
    const Wide back = twoProduct(q, d);
    return twoSum(q, ((a.hi - back.hi) - back.lo + a.lo) / d);
}

// sin x (or cos x, with `cosine`) to about 100 bits for |x| up to 2^12: x less the nearest multiple
// of pi/2 (pi/2 in three doubles), then the Taylor series, term by term.
Wide wideSinOrCos(float x, bool cosine)
{
    const double halfPi[] = {1.5707963267948966, 6.123233995736766e-17, -1.4973849048591698e-33};
    const double k = std::nearbyint(static_cast<double>(x) / halfPi[0]);
    Wide r{x, 0.0};
    for (const double part : halfPi) {
        const Wide p = twoProduct(k, part);
        r = add(r, {-p.hi, -p.lo});
    }
    const int quadrant = (static_cast<int>(k) + (cosine ? 1 : 0)) & 3;
    const bool odd = quadrant % 2 == 0;  // the sine's series, odd powers of r
    const Wide z = multiply(r, r);
    Wide term = odd ? r : Wide{1.0, 0.0};
    Wide sum = term;
    for (int n = odd ? 2 : 1; n < 60; n += 2) {
        term = divide(multiply(term, z), -static_cast<double>(n) * (n + 1));
        sum = add(sum, term);
    }
    return quadrant >= 2 ? Wide{-sum.hi, -sum.lo} : sum;
}

// The float nearest hi + lo.
float nearestFloat(Wide v)
{
    const float f = static_cast<float>(v.hi);
    const double error = (v.hi - static_cast<double>(f)) + v.lo;  // the first difference is exact
    const float toward = std::nextafter(f, error > 0.0 ? INFINITY : -INFINITY);
    const double half = std::fabs(static_cast<double>(toward) - static_cast<double>(f)) / 2.0;
    return std::fabs(error) > half ? toward : f;
}

// Whether portableSin and portableCos round as the exact values do at every float from `from` to
// `to` (their bit patterns, positive floats) stepping `stride`. The C library's double result
// decides where it is far from the rounding boundary (its error is below 2^-52 of it); the
// double-double series decides the rest. portableSin and portableCos alone are checked too where
// the floats are spaced out. Fails with the first few arguments that misround.
void expectCorrectlyRounded(std::uint32_t from, std::uint32_t to, std::uint32_t stride)
{
    int misrounded = 0;
    for (std::uint64_t bits = from; bits < to && misrounded < 5; bits += stride) {
        const float x = floatOfBits(static_cast<std::uint32_t>(bits));
        float mine[2];
        portableSinCos(x, mine[0], mine[1]);
        for (int cosine = 0; cosine < 2; ++cosine) {
            const double near = cosine ? std::cos(static_cast<double>(x)) : std::sin(static_cast<double>(x));
            const float rounded = static_cast<float>(near);
            const float other =
                std::nextafter(rounded, near > static_cast<double>(rounded) ? INFINITY : -INFINITY);
            const double boundary = (static_cast<double>(rounded) + static_cast<double>(other)) / 2.0;
            const float exact = std::fabs(near - boundary) > std::fabs(near) * 0x1p-45
                                    ? rounded
                                    : nearestFloat(wideSinOrCos(x, cosine != 0));
            const float single = stride == 1 ? exact : cosine ? portableCos(x) : portableSin(x);
            if (mine[cosine] != exact || single != exact) {
                ++misrounded;
                ADD_FAILURE() << (cosine ? "cos " : "sin ") << std::hexfloat << x << ": " << single << " and "
                              << mine[cosine] << ", not " << exact;
            }
        }
    }
}

}  // namespace

// The physics' sine and cosine are correctly rounded at every float from 2^-12 to 128 radians
// (what the game meets, and more: the cart's heading is not wrapped, the rest is within [-pi, pi])
// and, a float in every 4099, over the whole range to 4096 radians and down to the smallest;
// a negative argument gives the mirrored bits.
TEST(FloatMath, SineAndCosineAreCorrectlyRoundedAtEveryFloatTheGameMeets)
{
    expectCorrectlyRounded(0x39800000u, 0x43000000u, 1);     // [2^-12, 128)
    expectCorrectlyRounded(0x00000001u, 0x45800000u, 4099);  // (0, 4096)
    std::mt19937 random(7);
    std::uniform_real_distribution<float> angle(-200.0f, 200.0f);
    for (int i = 0; i < 10000; ++i) {
        const float x = angle(random);
        EXPECT_EQ(portableSin(-x), -portableSin(x)) << x;
        EXPECT_EQ(portableCos(-x), portableCos(x)) << x;
    }
}

// atan2 rounds as the exact value does (the C library's double function, rounded once, stands in
// for it) but for a rare hair; zeros, infinities and NaNs follow C's rules.
TEST(FloatMath, Atan2RoundsAsTheExactValueAndEveryoneKeepsCsRulesAtTheEdges)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-20.0f, 20.0f);
    int misrounded = 0;
    for (int i = 0; i < 200000; ++i) {
        const float x = coordinate(random);
        const float y = i % 2 ? coordinate(random) : coordinate(random) / 1000.0f;
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
    float s = 0.0f;
    float c = 0.0f;
    portableSinCos(NAN, s, c);
    EXPECT_TRUE(std::isnan(s) && std::isnan(c));
    EXPECT_TRUE(std::signbit(portableSin(-0.0f)));
    EXPECT_EQ(portableCos(0.0f), 1.0f);
}

// Box2D's own trigonometry, inside the library (a body's rotation from its angle), is the game's,
// on every system: the replays' bits depend on it.
TEST(FloatMath, TheVeryPhysicsLibraryUsesIt)
{
    EXPECT_NE(physicsLibraryMathBindings(), 0);
    b2World world(b2Vec2(0.0f, 0.0f));
    b2BodyDef def;
    def.type = b2_dynamicBody;
    b2Body* body = world.CreateBody(&def);
    std::mt19937 random(11);
    std::uniform_real_distribution<float> angle(-100.0f, 100.0f);
    for (int i = 0; i < 20000; ++i) {
        const float a = angle(random);
        body->SetTransform(b2Vec2(0.0f, 0.0f), a);
        ASSERT_EQ(body->GetTransform().q.s, portableSin(a)) << a;
        ASSERT_EQ(body->GetTransform().q.c, portableCos(a)) << a;
    }
}
