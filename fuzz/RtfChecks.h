#pragma once

// What must hold for the rich-text reader on any bytes: it ends, stays inside its input, gives
// UTF-8 both as plain text and as a document, and bytes it refuses as a document come with the
// reason.
#include <string>
#include <string_view>

#include "CheckOutcome.h"
#include "platform/Result.h"
#include "platform/RtfReader.h"
#include "platform/Text.h"

namespace tess::fuzzcheck {

namespace detail {

inline bool isUtf8(const std::string& text) {
    return utf8::encode(utf8::decode(text)) == text;
}

}  // namespace detail

// `read` is whether the bytes were taken as a document.
inline Outcome checkRtf(std::string_view bytes) {
    Outcome out;
    if (!detail::isUtf8(rtfToPlainText(bytes))) {
        out.broken = "the plain text is no UTF-8";
    }
    const Result<std::string> document = rtfDocumentToPlainText(bytes);
    out.read = document.ok();
    if (document) {
        out.what = std::to_string(document.value().size()) + " bytes of text";
        if (out.broken.empty() && !detail::isUtf8(document.value())) {
            out.broken = "the document's text is no UTF-8";
        }
        return out;
    }
    out.what = document.error().reason;
    if (out.broken.empty() && document.error().reason.empty()) {
        out.broken = "a document refused without a reason";
    }
    return out;
}

}  // namespace tess::fuzzcheck
