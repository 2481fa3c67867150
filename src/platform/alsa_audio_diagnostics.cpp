// SDL loads ALSA's library only when it looks for a device, so the game does not link it: it
// loads the same library first and gives it an error handler that prints nothing. A system without
// ALSA's library has nothing to silence.

#include "platform/audio_diagnostics.h"

#include <dlfcn.h>

namespace {

// ALSA's snd_lib_error_handler_t and snd_lib_error_set_handler, as alsa/error.h declares them.
using ErrorHandler = void (*)(const char* file, int line, const char* function, int err, const char* fmt,
                              ...);
using SetErrorHandler = int (*)(ErrorHandler handler);

void ignoreError(const char* /*file*/, int /*line*/, const char* /*function*/, int /*err*/,
                 const char* /*fmt*/, ...)
{
}

}  // namespace

void silenceAudioDiagnostics()
{
    // Kept loaded for the process's life: the handler must stay where ALSA finds it.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa)
        return;
    if (const auto set = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(ignoreError);
}
