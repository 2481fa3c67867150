#pragma once

#include <array>

/// Indices into CartControls. Each pair (2k, 2k + 1) is the (negative, positive) key of one
/// push axis of one hand; when both are held the positive one wins.
enum ControlIndex {
    LeftBack = 0,      ///< left hand, forward axis, negative: pull back
    LeftForward = 1,   ///< left hand, forward axis, positive: push forward
    LeftRight = 2,     ///< left hand, lateral axis, negative: push toward the cart's right
    LeftLeft = 3,      ///< left hand, lateral axis, positive: push toward the cart's left
    RightBack = 4,     ///< right hand, forward axis, negative
    RightForward = 5,  ///< right hand, forward axis, positive
    RightRight = 6,    ///< right hand, lateral axis, negative
    RightLeft = 7,     ///< right hand, lateral axis, positive
};

/// The eight driving flags, written by the keyboard sampler once per play frame and read by
/// the cart's drive model.
using CartControls = std::array<bool, 8>;
