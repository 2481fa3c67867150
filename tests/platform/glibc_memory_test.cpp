#include <gtest/gtest.h>
#include <malloc.h>

#include <vector>

#include "platform/memory.h"

// A frame's worth of memory freed at the top of the heap stays there for the next frame, instead
// of going back to the system and faulting in again. Blocks of 64 KiB (as the GL driver frees
// them) stay below the size glibc maps on their own; freed last-first, they join the heap's top.
TEST(GlibcMemory, AFramesWorthOfFreedBlocksStaysOnTheHeap)
{
    if (!keepFreedMemoryForReuse())
        GTEST_SKIP() << "malloc here is not glibc's (a sanitizer's): it keeps freed memory its own way";
    constexpr size_t block = 64 * 1024;
    constexpr size_t blocks = (keptFreeBytes / 2) / block;  // half the limit: 8 MiB
    std::vector<void*> frame(blocks);
    for (void*& p : frame)
        p = malloc(block);
    for (auto p = frame.rbegin(); p != frame.rend(); ++p)
        free(*p);

    // keepcost: the free space at the top of the heap, which a trim would have given back.
    EXPECT_GE(mallinfo2().keepcost, blocks * block * 3 / 4);
}
