// The explorer's page readers and its rewriter take any bytes a file holds: they must stay inside
// the text, take an edit only where the page then reads back the edited value, leave the title's
// text alone unless it is the edit, and change nothing for an edit they do not take.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "CheckOutcome.h"
#include "PageChecks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tess::fuzzcheck::abortIfBroken(tess::pagecheck::checkPage(bytes));
    return 0;
}
