#pragma once

// How the C library's allocator treats memory the program gives back.

/// Call once, as the game starts (runGame does, before the World is made). Keeps up to `keptFreeBytes` of
/// memory freed at the top of the heap for the next allocations instead of giving it back to the system at
/// once.
///
/// Software OpenGL (Mesa's llvmpipe) allocates its scene for every frame on the heap and frees it
/// once the frame is drawn. With the default threshold of glibc's allocator, that freeing trims
/// the heap and the next frame takes every page back with a fault: about 800 faults a frame at
/// 800 x 600 and 950 at 1920 x 1080, about a third of the main thread's time in a chase frame. Measured
/// with the threshold raised step by step, the churn stops at 6 MiB for a 1920 x 1080 window and
/// at 8 MiB for a 3840 x 2160 one (from 23,000 faults a second to none); 16 MiB leaves room for
/// larger screens. What is kept is memory the frame has just used, so the peak stays as it was.
/// Returns whether the allocator took the setting: false where malloc is not glibc's own (on
/// Windows, under a sanitizer, with another allocator preloaded), each of which keeps freed memory
/// by rules of its own. The game goes on either way: this changes its speed, never what it does.
bool keepFreedMemoryForReuse();

/// Bytes of freed memory the allocator keeps at the top of the heap.
inline constexpr long keptFreeBytes = 16L * 1024 * 1024;
