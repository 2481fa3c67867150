// glibc's allocator: mallopt(M_TRIM_THRESHOLD) sets how much freed memory may sit at the top of the
// heap before free() gives it back to the system.

#include "platform/memory.h"

#include <malloc.h>

#include <stdexcept>

void keepFreedMemoryForReuse()
{
    if (mallopt(M_TRIM_THRESHOLD, static_cast<int>(keptFreeBytes)) != 1)
        throw std::runtime_error("The allocator refused to keep freed memory (mallopt M_TRIM_THRESHOLD)");
}
