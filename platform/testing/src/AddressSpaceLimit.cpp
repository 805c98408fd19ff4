#include "platform/testing/AddressSpaceLimit.h"

#include <unistd.h>
#include <fstream>

#include "platform/testing/Sanitizers.h"

namespace tess::testing {

#if !defined(TESSARYN_ASAN)
namespace {

// The bytes the process has mapped: the first field of /proc/self/statm, in pages.
std::size_t mappedBytes() {
    std::ifstream statm("/proc/self/statm");
    std::size_t pages = 0;
    statm >> pages;
    return statm ? pages * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE)) : 0;
}

}  // namespace
#endif

AddressSpaceLimit::AddressSpaceLimit(std::size_t headroom) {
#if !defined(TESSARYN_ASAN)
    const std::size_t mapped = mappedBytes();
    if (mapped == 0 || ::getrlimit(RLIMIT_AS, &saved_) != 0)
        return;
    rlimit limited = saved_;
    limited.rlim_cur = static_cast<rlim_t>(mapped + headroom);
    if (saved_.rlim_max != RLIM_INFINITY && limited.rlim_cur > saved_.rlim_max)
        return;
    active_ = ::setrlimit(RLIMIT_AS, &limited) == 0;
#else
    (void)headroom;
#endif
}

AddressSpaceLimit::~AddressSpaceLimit() {
    if (active_)
        ::setrlimit(RLIMIT_AS, &saved_);
}

}  // namespace tess::testing
