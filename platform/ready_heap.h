#pragma once
#include <cstddef>

namespace platform {

// Has the system hand over the first `bytes` the program allocates in one request, and keeps
// what is freed for the next allocation rather than giving it back at once. Otherwise each page
// costs a trap of its own as it is first written (some microseconds on a virtual machine), and a
// start writes about a thousand: the windows' backing stores, the font database, the glyphs.
// Blocks up to 8 MB come from this heap rather than from mappings of their own, so that the
// backing stores find it.
void readyHeap(std::size_t bytes);

} // namespace platform
