#pragma once

// Reproducible random play: a seeded std::mt19937 picks new driving flags every 0.1 to 1
// seconds of game time and a frame time uniform in [0, 1/30] for every frame (one frame in 64
// gets exactly 0 and one exactly the longest frame, 0.033333335 s). The numbers
// are drawn from the generator's raw 32-bit output (not through the library's distributions),
// so a seed gives the same run with any standard library.

#include <cstdint>
#include <random>

#include "cart/cart_controls.h"

namespace sim {

/// One frame of input: the frame time handed to World::step and the flags written before it.
struct Frame {
    float dt = 0.0f;          ///< seconds
    CartControls controls{};  ///< the eight driving flags, in ControlIndex order
};

/// An endless, seeded stream of random frames.
class RandomDrive {
public:
    /// `fixedDt` > 0 gives every frame that time instead of a random one, seconds.
    explicit RandomDrive(std::uint32_t seed, float fixedDt = 0.0f);

    /// The next frame. Each flag is held with probability 1/2; a set lasts 0.1 to 1 s of the
    /// frames' own time.
    Frame next();

private:
    float uniform();  // [0, 1), 24 bits

    std::mt19937 m_rng;
    float m_fixedDt;
    CartControls m_controls{};
    double m_holdLeft = 0.0;  // seconds until the flags change
};

}  // namespace sim
