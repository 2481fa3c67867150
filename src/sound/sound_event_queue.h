#pragma once

#include <array>
#include <atomic>
#include <cstddef>

#include "sound/sound_event.h"

/// A fixed ring of sound events from one producer thread (the game's) to one consumer thread (the
/// audio thread's), without locks or allocation: neither side ever waits for the other.
class SoundEventQueue {
public:
    /// Events the queue holds at most; a push beyond them is dropped.
    static constexpr std::size_t capacity = 255;

    /// Producer side: appends `event`; false (and nothing changes) when the queue is full.
    bool push(const SoundEvent& event)
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        const std::size_t next = (tail + 1) % m_slots.size();
        if (next == m_head.load(std::memory_order_acquire))
            return false;
        m_slots[tail] = event;
        m_tail.store(next, std::memory_order_release);
        return true;
    }

    /// Consumer side: takes the oldest event into `event`; false when there is none.
    bool pop(SoundEvent& event)
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return false;
        event = m_slots[head];
        m_head.store((head + 1) % m_slots.size(), std::memory_order_release);
        return true;
    }

private:
    std::array<SoundEvent, capacity + 1> m_slots{};  ///< one slot always free: full and empty differ
    std::atomic<std::size_t> m_head{0};              ///< next slot to read; written by the consumer
    std::atomic<std::size_t> m_tail{0};              ///< next slot to write; written by the producer
};
