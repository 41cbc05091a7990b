#include "FreedMemory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace solardesk {

void ReleaseFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace solardesk
