// Windows: the program's heap is the C runtime's over the system's, and the OpenGL driver keeps
// its own. Under wine on the test machines the game pages no more in play than it did before
// (the figures are in the README's performance section), so nothing is changed here.

#include "platform/memory.h"

void keepFreedMemoryForReuse() {}
