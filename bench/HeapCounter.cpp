#include "HeapCounter.h"

#include <malloc.h>

#include <cerrno>

// The C library's own allocator, under the names glibc keeps for it, so this program's malloc
// family can count and pass every call on (the shared libraries call these too).
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* block);
}

namespace heap {
std::atomic<std::size_t> live = 0;
std::atomic<std::size_t> peak = 0;

void resetPeak() {
    peak = live.load();
}

namespace {

void* added(void* block) {
    if (block != nullptr) {
        const std::size_t now = live += ::malloc_usable_size(block);
        std::size_t seen = peak.load(std::memory_order_relaxed);
        while (now > seen && !peak.compare_exchange_weak(seen, now, std::memory_order_relaxed)) {
        }
    }
    return block;
}

void removed(void* block) {
    if (block != nullptr) {
        live -= ::malloc_usable_size(block);
    }
}

}  // namespace
}  // namespace heap

extern "C" {

void* malloc(std::size_t size) {
    return heap::added(__libc_malloc(size));
}

void* calloc(std::size_t count, std::size_t size) {
    return heap::added(__libc_calloc(count, size));
}

void* realloc(void* block, std::size_t size) {
    const std::size_t before = block != nullptr ? ::malloc_usable_size(block) : 0;
    void* moved = __libc_realloc(block, size);
    if (moved != nullptr || size == 0) {
        heap::live -= before;
        heap::added(moved);
    }
    return moved;
}

void free(void* block) {
    heap::removed(block);
    __libc_free(block);
}

void* memalign(std::size_t alignment, std::size_t size) {
    return heap::added(__libc_memalign(alignment, size));
}

void* aligned_alloc(std::size_t alignment, std::size_t size) {
    return heap::added(__libc_memalign(alignment, size));
}

int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) {
        return EINVAL;
    }
    void* block = heap::added(__libc_memalign(alignment, size));
    if (block == nullptr) {
        return ENOMEM;
    }
    *out = block;
    return 0;
}

}  // extern "C"
