#pragma once

// The test program's allocations, counted: linking this replaces the global operator new and
// delete with ones that count each allocation and take their memory from malloc and free.

namespace gltest {

/// How many times operator new has run in this program so far, on any thread.
long allocationCount();

}  // namespace gltest
