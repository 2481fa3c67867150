#pragma once

/// π as the game uses it everywhere, rounded to single precision, radians.
inline constexpr float pi = 3.1415927f;

/// `radians` in degrees, as glRotatef takes them: value * 180 / pi computed in the precision of
/// `Real`, then rounded to single precision. The views and the physics overlay turn in single
/// precision (degrees(h)); the cart's drawing computes in double and rounds once
/// (degrees<double>(a)).
template <class Real> float degrees(Real radians)
{
    return static_cast<float>(radians * static_cast<Real>(180) / static_cast<Real>(pi));
}
