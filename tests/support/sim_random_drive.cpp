#include "support/sim_random_drive.h"

#include "support/sim_checks.h"

namespace sim {

RandomDrive::RandomDrive(std::uint32_t seed, float fixedDt) : m_rng(seed), m_fixedDt(fixedDt) {}

float RandomDrive::uniform() { return static_cast<float>(m_rng() >> 8) * (1.0f / 16777216.0f); }

Frame RandomDrive::next()
{
    if (m_holdLeft <= 0.0) {
        const std::uint32_t bits = m_rng();
        for (int i = 0; i < 8; ++i)
            m_controls[i] = ((bits >> i) & 1u) != 0;
        m_holdLeft = 0.1 + 0.9 * static_cast<double>(uniform());
    }
    Frame frame;
    frame.controls = m_controls;
    if (m_fixedDt > 0.0f) {
        frame.dt = m_fixedDt;
    } else {
        // Both ends of the range now and then: a zero frame and the longest one there is.
        const std::uint32_t pick = m_rng() % 64u;
        if (pick == 0)
            frame.dt = 0.0f;
        else if (pick == 1)
            frame.dt = maxFrameTime;
        else
            frame.dt = uniform() * maxFrameTime;
    }
    m_holdLeft -= static_cast<double>(frame.dt);
    return frame;
}

}  // namespace sim
