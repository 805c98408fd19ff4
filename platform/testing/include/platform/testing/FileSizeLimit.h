#pragma once

#include <sys/resource.h>

#include <csignal>

namespace tess::testing {

// While it lives, files of this process may grow to `bytes` only, as on a full disk: a write past
// that fails with EFBIG, for root too (SIGXFSZ is ignored meanwhile). The earlier limit and
// signal handling come back at the end of the scope.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False where the limit could not be set.
    bool active() const { return active_; }

  private:
    rlimit saved_{};
    void (*previousHandler_)(int) = SIG_DFL;
    bool savedOk_ = false;
    bool active_ = false;
};

}  // namespace tess::testing
