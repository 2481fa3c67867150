// glibc's allocator: mallopt(M_TRIM_THRESHOLD) sets how much freed memory may sit at the top of the
// heap before free() gives it back to the system.

#include "platform/memory.h"

#include <malloc.h>

bool keepFreedMemoryForReuse() { return mallopt(M_TRIM_THRESHOLD, static_cast<int>(keptFreeBytes)) == 1; }
