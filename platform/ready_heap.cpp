#include "platform/ready_heap.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

namespace platform {

void keepLargeBlocksInHeap() {
    constexpr int largestFromHeap = 8 << 20;
    mallopt(M_MMAP_THRESHOLD, largestFromHeap);
    mallopt(M_TRIM_THRESHOLD, 4 * largestFromHeap);
}

void readyHeap(std::size_t bytes) {
    void* block = std::malloc(bytes);
    if (!block)
        return;
    const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
    const auto from = (reinterpret_cast<std::uintptr_t>(block) + page - 1) & ~(page - 1);
    const auto to = (reinterpret_cast<std::uintptr_t>(block) + bytes) & ~(page - 1);
    // A kernel without it (before 5.14) leaves the pages to their first writes, as before.
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_POPULATE_WRITE);
    std::free(block);
}

} // namespace platform
