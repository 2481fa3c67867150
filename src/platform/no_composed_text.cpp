#include "platform/composed_text.h"

// Windows' input method editor and the browser's are opened for a window that asks for text,
// and the game's never does: nothing is prepared ahead of the window to forgo.
void forgoComposedText() {}
