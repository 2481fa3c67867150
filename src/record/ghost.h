#pragma once

#include <cstddef>

#include "record/run_record.h"
#include "world/world.h"

/// The record's run played again beside the player's, in a World of its own: it follows the
/// player's run clock from "SHOP!", a frame of its own at a time, and touches nothing of the
/// player's (their World never meets it).
class Ghost {
public:
    /// A ghost of `record` (verified for `desc`) at the start of `desc`. Both must outlive it.
    Ghost(const RunRecord& record, const LevelDesc& desc);

    Ghost(const Ghost&) = delete;
    Ghost& operator=(const Ghost&) = delete;

    /// Plays the record's frames until the ghost's run clock has reached `runClock` (the
    /// player's, seconds) or the record has run out; never goes back.
    void follow(double runClock);

    /// The ghost's cart, at the pose of the latest frame played.
    const Cart& cart() const { return m_world.cart(); }
    /// The ghost's run clock, seconds.
    double runClock() const { return m_world.runClock(); }

    /// Draws the ghost's cart through the current view: translucent, tinted, depth-tested
    /// against what was drawn before (the store), writing no depth of its own.
    void render() const;

private:
    const RunRecord& m_record;
    World m_world;
    std::size_t m_next = 0;  ///< the next frame of the record to play
};
