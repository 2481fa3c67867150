#pragma once

// What the system's sound libraries print by themselves. Without a sound card, ALSA writes half a
// dozen lines of its own on stderr while SDL looks for a device; the game's single line says
// all a player needs.

/// Keeps the system's sound libraries from writing diagnostics of their own on stderr, for the rest
/// of the process; call it before the audio device is opened. Where they write none (Windows),
/// there is nothing to keep back.
void silenceAudioDiagnostics();
