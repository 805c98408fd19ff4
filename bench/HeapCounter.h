#pragma once

#include <atomic>
#include <cstddef>

// Heap bytes in use, and the most in use since the last reset, counted at malloc itself: C++
// allocations and the C ones of libraries (Qt's images and byte arrays) alike. A streamed page
// costs a small buffer, whatever its size, while the clipboard target holds the whole page; a
// loaded picture costs what its decoder and its conversion hold at once.
namespace heap {
extern std::atomic<std::size_t> live;
extern std::atomic<std::size_t> peak;
void resetPeak();
}  // namespace heap
