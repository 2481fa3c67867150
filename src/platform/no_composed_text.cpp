#include "platform/composed_text.h"

// Windows and the browser read no table of composed characters as GLFW starts: there is nothing
// to forgo.
void forgoComposedText() {}
