#include "largeblocks.h"

#include <QtGlobal>

#if defined(Q_OS_LINUX) && defined(__GLIBC__)
#include <malloc.h>
#endif

void LargeBlocks::returnWhenFreed()
{
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    // A fixed threshold also stops glibc from raising it by itself.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}
