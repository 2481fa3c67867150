#pragma once

#include <array>
#include <vector>

/// Sample frames a second of every sound and of the mixer's output.
inline constexpr int audioFrameRate = 48000;

/// One sound: mono samples at audioFrameRate, within full scale (-1 to 1).
using SoundSamples = std::vector<float>;

/// Every sound the game makes, synthesised in code when the bank is made (a few milliseconds; the
/// game reads no sound files). Each sound but the rattle starts and ends on a short ramp, so it
/// starts and stops without a click; the rattle is a seamless loop. Peaks leave the mixer headroom.
class SoundBank {
public:
    /// Chimes of their own pitch, one step of a major scale apart; later items repeat the highest.
    static constexpr int chimeSteps = 20;

    SoundBank();

    /// The countdown's short beep for "3", "2" and "1".
    const SoundSamples& countdownBeep() const { return m_countdownBeep; }
    /// The longer, higher beep of "SHOP!".
    const SoundSamples& shopBeep() const { return m_shopBeep; }
    /// The chime of an item taken, `step` (0 for the first item) clamped to 0 .. chimeSteps - 1.
    const SoundSamples& chime(int step) const;
    /// The knock of the cart against a shelf at full strength.
    const SoundSamples& knock() const { return m_knock; }
    /// The results screen's rising arpeggio.
    const SoundSamples& flourish() const { return m_flourish; }
    /// The flourish of a new best: the same arpeggio running on two notes higher.
    const SoundSamples& brightFlourish() const { return m_brightFlourish; }
    /// The casters' rattle at full level, one second that loops without a seam, played faster
    /// (higher and busier) the faster the cart goes.
    const SoundSamples& rattle() const { return m_rattle; }

private:
    SoundSamples m_countdownBeep;
    SoundSamples m_shopBeep;
    std::array<SoundSamples, chimeSteps> m_chimes;
    SoundSamples m_knock;
    SoundSamples m_flourish;
    SoundSamples m_brightFlourish;
    SoundSamples m_rattle;
};

/// The fundamental of chime `step` (clamped as SoundBank::chime clamps it), hertz: the major scale
/// from E4 up, so that the twentieth item lands on C7, the scale's home note three octaves up.
double chimeFrequency(int step);
