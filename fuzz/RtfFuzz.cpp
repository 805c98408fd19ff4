// The rich-text reader takes any bytes: it must end, stay inside its input and give UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/Result.h"
#include "platform/RtfReader.h"
#include "platform/Text.h"

namespace {

void requireUtf8(const std::string& text) {
    if (tess::utf8::encode(tess::utf8::decode(text)) != text) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    requireUtf8(tess::rtfToPlainText(bytes));
    const tess::Result<std::string> document = tess::rtfDocumentToPlainText(bytes);
    if (document) {
        requireUtf8(document.value());
    }
    return 0;
}
