// The graphics library reader takes any bytes: it must end, stay inside its input, keep no record
// whose name could leave the library, and what it reads must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "LibraryChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tess::fuzzcheck::abortIfBroken(tess::fuzzcheck::checkLibrary(bytes).broken);
    return 0;
}
