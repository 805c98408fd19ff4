#pragma once

#include <sys/resource.h>
#include <cstddef>

namespace tess::testing {

// While it lives, the process may map at most `headroom` bytes beyond what it has mapped now, so
// an allocation larger than that fails as it would on a machine without the memory. Allocations
// that large are mapped on their own, never carved from freed memory, so the failure does not
// depend on what ran before. The earlier limit comes back at the end of the scope.
class AddressSpaceLimit {
  public:
    explicit AddressSpaceLimit(std::size_t headroom);
    ~AddressSpaceLimit();
    AddressSpaceLimit(const AddressSpaceLimit&) = delete;
    AddressSpaceLimit& operator=(const AddressSpaceLimit&) = delete;

    // False under the address sanitizer, which reserves its memory up front and ends the process
    // on a refused allocation; and where the limit could not be set.
    bool active() const { return active_; }

  private:
    rlimit saved_{};
    bool active_ = false;
};

}  // namespace tess::testing
