// The settings reader takes any file: it must end and stay inside its input, and whatever it
// reads must come back the same after the writer has stored it.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SettingsChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tess::fuzzcheck::abortIfBroken(tess::fuzzcheck::checkSettings(bytes).broken);
    return 0;
}
