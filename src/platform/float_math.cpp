// One set of single-precision trigonometry for every build (see float_math.h). No header that
// declares the C library's own sinf and friends is included here: these definitions replace them.

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

// sin and cos of r, |r| <= pi/4, by their Taylor series: the terms left out are below 2^-70.
double sinNear(double r)
{
    const double z = r * r;
    // r (1 - z/(2*3) (1 - z/(4*5) (1 - ... (1 - z/(22*23))))): r - r^3/3! + ... - r^23/23!.
    double series = 1.0;
    for (int n = 22; n >= 2; n -= 2)
        series = 1.0 - z / (n * (n + 1.0)) * series;
    return r * series;
}

double cosNear(double r)
{
    const double z = r * r;
    // 1 - z/(1*2) (1 - z/(3*4) (1 - ... (1 - z/(21*22)))).
    double series = 1.0;
    for (int n = 21; n >= 1; n -= 2)
        series = 1.0 - z / (n * (n + 1.0)) * series;
    return series;
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
        series = z * (1.0 / n - series);
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

// The C library's names, for the game's code and for the physics library.
extern "C" {
float sinf(float x) { return portableSin(x); }
float cosf(float x) { return portableCos(x); }
void sincosf(float x, float* s, float* c)
{
    *s = portableSin(x);
    *c = portableCos(x);
}
float atan2f(float y, float x) { return portableAtan2(y, x); }
}
