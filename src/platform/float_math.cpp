// One set of single-precision trigonometry for every build (see float_math.h).

#include "platform/float_math.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr double pi = 3.14159265358979311600e+00;
constexpr double halfPi = 1.57079632679489655800e+00;
constexpr double twoOverPi = 6.36619772367581382433e-01;
// pi/2 in three parts, each with its low bits zero, so that k times the first two is exact for
// every k up to 2^20: the reduction's error stays far below a float's last bit.
constexpr double halfPi1 = 1.57079632673412561417e+00;
constexpr double halfPi2 = 6.07710050630396597660e-11;
constexpr double halfPi3 = 2.02226624871116645580e-21;
constexpr double roundingShift = 6755399441055744.0;  // 1.5 * 2^52: adding it rounds to an integer

bool isNan(double x) { return x != x; }
bool isInfinite(double x) { return x - x != 0.0 && !isNan(x); }
bool signBit(float x)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &x, sizeof bits);
    return (bits >> 31) != 0;
}
double magnitude(double x) { return x < 0.0 ? -x : x; }

// sin r and cos r for |r| <= pi/4 (and the hair beyond it that the reduction may leave): their
// Taylor series to r^17 and r^18, each coefficient 1/n! as a constant rounded to double, summed in
// powers of z = r^2 by Horner's rule. The terms left out are below 2^-60 of the result, the
// arithmetic's rounding within about 2^-52 of it: the float nearest that double is the float
// nearest the exact value for every float below 9830 radians (each was checked against a reference
// of 64 bits and more; float_math_test checks those to 128).
constexpr double sinCoefficients[] = {
    -0.16666666666666666,   0.008333333333333333,   -0.0001984126984126984,
    2.7557319223985893e-06, -2.505210838544172e-08, 1.6059043836821613e-10,
    -7.647163731819816e-13, 2.8114572543455206e-15};  // -1/3!, 1/5!, ..., 1/17!
constexpr double cosCoefficients[] = {-0.5,
                                      0.041666666666666664,
                                      -0.001388888888888889,
                                      2.48015873015873e-05,
                                      -2.755731922398589e-07,
                                      2.08767569878681e-09,
                                      -1.1470745597729725e-11,
                                      4.779477332387385e-14,
                                      -1.5619206968586225e-16};  // -1/2!, 1/4!, ..., -1/18!

double sinNear(double r)
{
    const double z = r * r;
    double tail = sinCoefficients[7];
    for (int i = 6; i >= 0; --i)
        tail = sinCoefficients[i] + z * tail;
    return r + r * (z * tail);
}

double cosNear(double r)
{
    const double z = r * r;
    double tail = cosCoefficients[8];
    for (int i = 7; i >= 0; --i)
        tail = cosCoefficients[i] + z * tail;
    return 1.0 + z * tail;
}

// x reduced by the nearest multiple k of pi/2: r in [-pi/4, pi/4] and the quadrant k mod 4.
double reduce(double x, int& quadrant)
{
    const double t = x * twoOverPi;
    const double k = magnitude(t) < 4503599627370496.0 ? (t + roundingShift) - roundingShift : t;
    quadrant = magnitude(k) < 9.0e18 ? static_cast<int>(static_cast<std::int64_t>(k) & 3) : 0;
    return ((x - k * halfPi1) - k * halfPi2) - k * halfPi3;
}

// sin (or cos, with `cosine`) of x by its quadrant.
double sinOrCos(double x, bool cosine)
{
    if (isNan(x) || isInfinite(x))
        return x - x;
    if (x == 0.0)  // the physics' most common angle; and sin -0 is -0, which the sum makes +0
        return cosine ? 1.0 : x;
    int quadrant = 0;
    const double r = reduce(x, quadrant);
    if (cosine)
        quadrant = (quadrant + 1) & 3;
    switch (quadrant) {
    case 0:
        return sinNear(r);
    case 1:
        return cosNear(r);
    case 2:
        return -sinNear(r);
    default:
        return -cosNear(r);
    }
}

// Both at once, from one reduction: the same values as sinOrCos gives each.
void sinAndCos(double x, double& sine, double& cosine)
{
    if (isNan(x) || isInfinite(x)) {
        sine = cosine = x - x;
        return;
    }
    if (x == 0.0) {
        sine = x;
        cosine = 1.0;
        return;
    }
    int quadrant = 0;
    const double r = reduce(x, quadrant);
    const double s = sinNear(r);
    const double c = cosNear(r);
    switch (quadrant) {
    case 0:
        sine = s, cosine = c;
        break;
    case 1:
        sine = c, cosine = -s;
        break;
    case 2:
        sine = -s, cosine = -c;
        break;
    default:
        sine = -c, cosine = s;
        break;
    }
}

// 1/3, 1/5, ..., 1/41: the arctangent series' coefficients, each the double nearest 1/n.
struct OddReciprocals {
    double of[42] = {};
    constexpr OddReciprocals()
    {
        for (int n = 3; n <= 41; n += 2)
            of[n] = 1.0 / n;
    }
};
constexpr OddReciprocals oddReciprocals;

// atan(t) for t >= 0.
double atanOfNonNegative(double t)
{
    constexpr double sqrt3 = 1.73205080756887719318e+00;
    constexpr double tanPiOver12 = 2.67949192431122695700e-01;  // 2 - sqrt(3)
    bool inverted = false;
    if (t > 1.0) {  // atan t = pi/2 - atan(1/t)
        t = 1.0 / t;
        inverted = true;
    }
    double offset = 0.0;
    if (t > tanPiOver12) {  // atan t = pi/6 + atan((t sqrt3 - 1) / (sqrt3 + t))
        t = (t * sqrt3 - 1.0) / (sqrt3 + t);
        offset = pi / 6.0;
    }
    // |t| <= tan(pi/12): t - t^3/3 + t^5/5 - ... up to t^41, the rest below 2^-70.
    const double z = t * t;
    double series = 0.0;
    for (int n = 41; n >= 3; n -= 2)
        series = z * (oddReciprocals.of[n] - series);
    const double angle = offset + (t - t * series);
    return inverted ? halfPi - angle : angle;
}

}  // namespace

float portableSin(float x) { return static_cast<float>(sinOrCos(x, false)); }

float portableCos(float x) { return static_cast<float>(sinOrCos(x, true)); }

float portableAtan2(float y, float x)
{
    if (isNan(x) || isNan(y))
        return x + y;
    const double sign = signBit(y) ? -1.0 : 1.0;
    if (y == 0.0f)  // +-0 toward the right (x +0 or more), +-pi toward the left
        return signBit(x) ? static_cast<float>(sign * pi) : y;
    if (isInfinite(x) && isInfinite(y))
        return static_cast<float>(sign * (x > 0.0f ? pi / 4.0 : 3.0 * pi / 4.0));
    if (isInfinite(x))
        return static_cast<float>(x > 0.0f ? sign * 0.0 : sign * pi);
    if (x == 0.0f || isInfinite(y))
        return static_cast<float>(sign * halfPi);
    const double ratio = magnitude(static_cast<double>(y) / static_cast<double>(x));
    const double angle = atanOfNonNegative(ratio);
    return static_cast<float>(sign * (x > 0.0f ? angle : pi - angle));
}

void portableSinCos(float x, float& sine, float& cosine)
{
    double s = 0.0;
    double c = 0.0;
    sinAndCos(x, s, c);
    sine = static_cast<float>(s);
    cosine = static_cast<float>(c);
}
