#include "platform/stream_resampler.h"

namespace {

// Source frames asked for at once: about 5 ms at 48 kHz, so that sounds asked for start that
// promptly.
constexpr std::size_t blockFrames = 256;

}  // namespace

StreamResampler::StreamResampler(double fromRate, double toRate, Source source, void* context)
    : m_step(fromRate / toRate), m_source(source), m_context(context), m_block(2 * blockFrames),
      m_used(blockFrames)
{
    advance();  // m_after holds the source's first frame, m_before silence
}

void StreamResampler::advance()
{
    if (m_used == blockFrames) {
        m_source(m_context, m_block.data(), static_cast<int>(blockFrames));
        m_used = 0;
    }
    m_before = m_after;
    m_after = {m_block[2 * m_used], m_block[2 * m_used + 1]};
    ++m_used;
}

void StreamResampler::render(float* stereo, int frames)
{
    for (int f = 0; f < frames; ++f) {
        const float t = static_cast<float>(m_fraction);
        stereo[2 * f] = m_before[0] + (m_after[0] - m_before[0]) * t;
        stereo[2 * f + 1] = m_before[1] + (m_after[1] - m_before[1]) * t;
        m_fraction += m_step;
        while (m_fraction >= 1.0) {
            m_fraction -= 1.0;
            advance();
        }
    }
}
