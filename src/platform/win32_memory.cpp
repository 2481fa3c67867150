// Windows: the program's heap is the C runtime's over the system's, and an OpenGL driver keeps
// heaps of its own, out of the program's reach. Under wine on the test machines the GL driver is
// the host's Mesa, whose frame memory goes through the host's glibc: that churn shows there (about
// 30,000 page faults a second in play) but no Windows program can set the host's allocator, and
// a Windows driver's heaps are not glibc's. Nothing is changed here.

#include "platform/memory.h"

bool keepFreedMemoryForReuse() { return false; }
