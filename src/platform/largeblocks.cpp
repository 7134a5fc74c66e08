#include "largeblocks.h"

#include <QtGlobal>

#include <utility>

#if defined(Q_OS_LINUX) && defined(__GLIBC__)
#include <malloc.h>
#endif

void LargeBlocks::returnWhenFreed()
{
    static bool asked = false;
    if (std::exchange(asked, true))
        return;
#if defined(Q_OS_LINUX) && defined(__GLIBC__)
    // A fixed threshold also stops glibc from raising it by itself.
    mallopt(M_MMAP_THRESHOLD, 1024 * 1024);
#endif
}
