// In a browser the heap is the program's own linear memory, which only grows: nothing freed goes
// back to the system, and the GL driver's memory is the browser's, out of the program's reach.
// Nothing is changed here.

#include "platform/memory.h"

bool keepFreedMemoryForReuse() { return false; }
