#pragma once

#include <cstdint>

/// One thing the game asks the mixer for, sent from the game's thread to the audio thread.
struct SoundEvent {
    enum class Kind : std::uint8_t {
        countdownBeep,  ///< the short beep of "3", "2" and "1"
        shopBeep,       ///< the longer, higher beep of "SHOP!"
        chime,          ///< an item taken; value: its step, 0 for the first item of the run
        knock,          ///< the cart against a shelf; value: strength, 0 (silent) to 1 (the loudest)
        rolling,        ///< the casters' rattle from now on; value: level, 0 (at rest) to 1 (full speed)
        flourish,       ///< the results screen opens; value: 1 for a new best (brighter), else 0
        mute,           ///< value: 1 silences everything from the next buffer, 0 gives sound back
    };
    Kind kind = Kind::countdownBeep;
    float value = 0.0f;     ///< as the kind says; unused by the beeps
    double postedAt = 0.0;  ///< when the game posted it, seconds on the sound system's clock
};

/// Whether `kind` is a sound of a moment (a beep, a chime, a knock, the flourish), which means
/// nothing once that moment is long past, rather than a state (the rattle's level, the mute).
constexpr bool isOneShot(SoundEvent::Kind kind)
{
    return kind != SoundEvent::Kind::rolling && kind != SoundEvent::Kind::mute;
}
