// Windows' audio interfaces report their failures to the caller and print nothing themselves.

#include "platform/audio_diagnostics.h"

void silenceAudioDiagnostics() {}
