// The project reader and the file decoder take any bytes: they must end, stay inside their input
// and never allocate beyond the cap. What they accept must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "ProjectChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tess::fuzzcheck::abortIfBroken(tess::fuzzcheck::checkProject(bytes).broken);
    return 0;
}
