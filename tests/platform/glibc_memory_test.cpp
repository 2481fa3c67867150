#include <gtest/gtest.h>
#include <malloc.h>
#include <sys/resource.h>

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

// Large short-lived blocks (the driver's 256 KiB to 4 MiB buffers) are taken from the heap and
// given back to it, not mapped and unmapped: once the first frame has faulted them in, a frame of
// them faults nothing in again.
TEST(GlibcMemory, LargeShortLivedBlocksAreNotFaultedInEveryFrame)
{
    if (!keepFreedMemoryForReuse())
        GTEST_SKIP() << "malloc here is not glibc's (a sanitizer's): it keeps freed memory its own way";
    const auto frame = [] {
        for (const size_t size : {size_t{256} << 10, size_t{1} << 20, size_t{4} << 20}) {
            auto* block = static_cast<volatile char*>(malloc(size));
            for (size_t i = 0; i < size; i += 4096)
                block[i] = 1;
            free(const_cast<char*>(block));
        }
    };
    const auto faults = [] {
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        return usage.ru_minflt;
    };
    frame();
    const long before = faults();
    for (int i = 0; i < 10; ++i)
        frame();
    EXPECT_LT(faults() - before, 100) << "page faults in ten frames of 5.25 MiB each";
}
