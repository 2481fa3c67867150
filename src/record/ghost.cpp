#include "record/ghost.h"

Ghost::Ghost(const RunRecord& record, const LevelDesc& desc) : m_record(record), m_world(desc) {}

void Ghost::follow(double runClock)
{
    while (m_next < m_record.frames.size() && m_world.runClock() < runClock) {
        const RecordFrame& frame = m_record.frames[m_next++];
        m_world.cart().controls = frame.controls;
        m_world.step(frame.dt);
    }
}
