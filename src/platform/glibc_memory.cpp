// glibc's allocator: mallopt(M_TRIM_THRESHOLD) sets how much freed memory may sit at the top of the
// heap before free() gives it back to the system. Setting it also fixes the size from which
// malloc maps a block on its own (glibc otherwise raises that size as mapped blocks are freed):
// left at its start value of 128 KiB, every short-lived block of that size or more would be
// mapped, faulted in and unmapped again, frame after frame. So blocks up to the kept size come
// from the heap, and go back to it.

#include "platform/memory.h"

#include <malloc.h>

bool keepFreedMemoryForReuse()
{
    const int kept = static_cast<int>(keptFreeBytes);
    return mallopt(M_MMAP_THRESHOLD, kept) == 1 && mallopt(M_TRIM_THRESHOLD, kept) == 1;
}
