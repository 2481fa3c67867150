// Linux and Windows: the C++ library's threads, over the system's.

#include "platform/threads.h"

bool threadsAvailable() { return true; }
