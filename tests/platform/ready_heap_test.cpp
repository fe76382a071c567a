#include "platform/ready_heap.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

long minorFaults() {
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}

} // namespace

// What the start allocates after it, a window's backing store among them, is written without a
// page fault for each page.
TEST(ReadyHeap, WhatIsAllocatedAfterItIsWrittenWithoutFaultingPageByPage) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizer's allocator takes its memory its own way";
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    GTEST_SKIP() << "the sanitizer's allocator takes its memory its own way";
#endif
#endif
    platform::keepLargeBlocksInHeap();
    platform::readyHeap(4 << 20);
    const long before = minorFaults();
    std::vector<void*> blocks;
    for (const std::size_t size : {std::size_t(1920000), std::size_t(683536), std::size_t(65536),
                                   std::size_t(4096), std::size_t(300)}) {
        void* block = std::malloc(size);
        std::memset(block, 1, size);
        blocks.push_back(block);
    }
    const long faults = minorFaults() - before;
    for (void* block : blocks)
        std::free(block);
    // The backing store alone is some 470 pages.
    EXPECT_LT(faults, 20);
}
