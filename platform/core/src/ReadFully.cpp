#include "platform/ReadFully.h"

#include <sys/types.h>
#include <unistd.h>

#include <cerrno>

namespace tess {

namespace {

template <typename ReadOnce>
int readUntilFull(char* into, std::size_t size, std::size_t& got, ReadOnce readOnce) {
    while (got < size) {
        const ssize_t n = readOnce(into + got, size - got);
        if (n == 0) {
            return 0;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        got += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

int readFully(int fd, char* into, std::size_t size, std::size_t& got) {
    return readUntilFull(into, size, got,
                         [fd](char* at, std::size_t left) { return ::read(fd, at, left); });
}

int readFullyAt(int fd, std::uint64_t offset, char* into, std::size_t size, std::size_t& got) {
    return readUntilFull(into, size, got, [fd, offset, &got](char* at, std::size_t left) {
        return ::pread(fd, at, left, static_cast<off_t>(offset + got));
    });
}

}  // namespace tess
