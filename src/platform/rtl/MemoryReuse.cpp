#include "MemoryReuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  mallopt(M_TRIM_THRESHOLD, 32 << 20); // free memory at the top of the heap kept up to this much
  mallopt(M_MMAP_THRESHOLD, 4 << 20);  // blocks from this size on are mapped and unmapped on their own
#endif
}
