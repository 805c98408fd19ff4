#include "platform/testing/FileSizeLimit.h"

#include <csignal>

namespace tess::testing {

FileSizeLimit::FileSizeLimit(rlim_t bytes) {
    if (::getrlimit(RLIMIT_FSIZE, &saved_) != 0) {
        return;
    }
    savedOk_ = true;
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved_;
    limited.rlim_cur = bytes;
    active_ = ::setrlimit(RLIMIT_FSIZE, &limited) == 0;
}

FileSizeLimit::~FileSizeLimit() {
    if (!savedOk_) {
        return;
    }
    if (active_) {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
    }
    std::signal(SIGXFSZ, previousHandler_);
}

}  // namespace tess::testing
