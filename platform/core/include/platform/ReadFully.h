#pragma once

#include <cstddef>
#include <cstdint>

namespace tess {

// Reads from the descriptor's position into into[got, size) until that is full or the file ends,
// going on after a read that a signal cut short; `got` grows by what each read brought, so a
// caller that stops on an error still knows how far it came. Returns the error number of a failed
// read, or 0: a file that ends early is no error, `got` tells where it ended.
int readFully(int fd, char* into, std::size_t size, std::size_t& got);

// The same from byte `offset` of the file on (into[got] is read from offset + got), leaving the
// descriptor's position alone.
int readFullyAt(int fd, std::uint64_t offset, char* into, std::size_t size, std::size_t& got);

}  // namespace tess
