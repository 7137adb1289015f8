#include "words/large_memory.h"

#include <sys/mman.h>

#include <cstdint>
#include <new>

namespace kavinta {

void* ReserveLarge(size_t bytes) {
  if (bytes == 0) bytes = 1;
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
  // Advice only: where huge pages are not granted, ordinary pages serve.
  madvise(p, bytes, MADV_HUGEPAGE);
#endif
  return p;
}

void ReleaseLarge(void* p, size_t bytes) {
  if (p) munmap(p, bytes == 0 ? 1 : bytes);
}

}  // namespace kavinta
