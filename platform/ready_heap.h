#pragma once
#include <cstddef>

namespace platform {

// Blocks up to 8 MB come from the heap rather than from mappings of their own, and what is freed
// stays for the next allocation rather than going back to the system at once, so that a window's
// backing store finds the heap readyHeap readied. It changes the allocator's settings, which no
// other thread may be using: call it before any other thread starts.
void keepLargeBlocksInHeap();

// Has the system hand over the next `bytes` of the heap in one request. Otherwise each page costs
// a trap of its own as it is first written (some microseconds on a virtual machine), and a start
// writes about fifteen hundred: the decoded background, the windows' backing stores, the font
// database, the glyphs.
void readyHeap(std::size_t bytes);

} // namespace platform
