// The rich-text reader takes any bytes: it must end, stay inside its input and give UTF-8.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "RtfChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tess::fuzzcheck::abortIfBroken(tess::fuzzcheck::checkRtf(bytes).broken);
    return 0;
}
