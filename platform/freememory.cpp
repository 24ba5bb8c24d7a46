#include "platform/freememory.h"

#include <cstdlib> // defines __GLIBC__ where it is the C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReleaseFreeMemory() noexcept
{
#if defined(__GLIBC__)
    ::malloc_trim(0);
#endif
}

void ShareOneHeap() noexcept
{
#if defined(__GLIBC__)
    ::mallopt(M_ARENA_MAX, 1);
#endif
}

} // namespace platform
