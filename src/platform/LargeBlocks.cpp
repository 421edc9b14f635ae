#include "platform/LargeBlocks.h"

#include <cstdlib> // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void ReturnLargeBlocksToSystem()
{
#if defined(__GLIBC__)
    // Setting the threshold also turns glibc's own adjustment of it off.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
#endif
}

} // namespace platform
