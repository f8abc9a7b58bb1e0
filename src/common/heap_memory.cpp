#include "common/heap_memory.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace sorvenka {

namespace {
// The automatic indexes of a day read on key-less master tables take a few hundred kilobytes
// for the time of one statement; larger blocks are kept too, up to this size.
constexpr int kKeptBytes = 64 * 1024 * 1024;
}  // namespace

void KeepHeapBetweenQueries() {
#if defined(__GLIBC__)
    mallopt(M_MMAP_THRESHOLD, kKeptBytes / 2);
    mallopt(M_TRIM_THRESHOLD, kKeptBytes);
#endif
}

void ReleaseFreeHeap() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace sorvenka
