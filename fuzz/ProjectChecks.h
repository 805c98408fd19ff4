#pragma once

// What must hold for the file decoder and the project reader on any bytes: they end, stay inside
// their input and never allocate beyond the cap; a refusal says why; what they accept survives
// being written and read again. The bytes go in as a file, and as the plain body of a file of
// each layout, since the check sum keeps mutated bodies from the reader.
#include <string>
#include <string_view>
#include <utility>

#include "CheckOutcome.h"
#include "platform/Result.h"
#include "projects/FileEncoder.h"
#include "projects/ProjectFile.h"

namespace tess::fuzzcheck {

namespace detail {

inline std::string checkDecodedFile(std::string_view bytes) {
    const Result<std::string> plain = DecodeFile(bytes);
    if (!plain) {
        return plain.error().reason.empty() ? "a file refused by the decoder without a reason" : "";
    }
    const Result<std::string> again = EncodeFile(std::string_view(plain.value()));
    if (!again) {
        return "the encoder refused a decoded body: " + again.error().reason;
    }
    const Result<std::string> back = DecodeFile(std::string_view(again.value()));
    if (!back) {
        return "the decoder refused what the encoder wrote: " + back.error().reason;
    }
    if (back.value() != plain.value()) {
        return "a decoded body came back otherwise from the encoder";
    }
    return {};
}

inline Outcome checkProjectFile(std::string_view file) {
    Outcome out;
    const Result<LoadedProject> project = readProject(file);
    out.read = project.ok();
    if (!project) {
        out.what = project.error().reason;
        if (project.error().reason.empty()) {
            out.broken = "a project refused without a reason";
        }
        return out;
    }
    const LoadedProject& p = project.value();
    out.what = "a project";
    const Result<std::string> written = writeProjectFile(p.options, p.picture);
    if (!written) {
        out.broken = "the writer refused a project read: " + written.error().reason;
        return out;
    }
    const Result<LoadedProject> back = readProject(written.value());
    if (!back) {
        out.broken = "the reader refused what the writer wrote: " + back.error().reason;
        return out;
    }
    const MosaicOptions& a = p.options;
    const MosaicOptions& b = back.value().options;
    const char* differs = b.Title != a.Title                                 ? "title"
                          : b.BGColor != a.BGColor                           ? "background colour"
                          : b.FontSize != a.FontSize                         ? "font size"
                          : b.Spacer != a.Spacer                             ? "spacer"
                          : b.Mode != a.Mode                                 ? "mode"
                          : b.CustomText != a.CustomText                     ? "custom text"
                          : b.CSSSize != a.CSSSize || b.CSSUnit != a.CSSUnit ? "custom CSS size"
                          : back.value().picture != p.picture                ? "picture"
                                                                             : nullptr;
    if (differs) {
        out.broken =
            std::string("the project's ") + differs + " came back otherwise from the writer";
    }
    return out;
}

}  // namespace detail

// `read` is whether the bytes were read as a project file.
inline Outcome checkProject(std::string_view bytes) {
    std::string decoded = detail::checkDecodedFile(bytes);
    Outcome out = detail::checkProjectFile(bytes);
    if (out.broken.empty()) {
        out.broken = std::move(decoded);
    }
    if (!out.broken.empty()) {
        return out;
    }
    const Result<std::string> body = EncodeFile(bytes);
    if (!body) {
        out.broken = "the encoder refused the bytes: " + body.error().reason;
        return out;
    }
    for (const std::string_view header : {"TPF20053", "TPF10116"}) {
        const Outcome wrapped =
            detail::checkProjectFile(std::string(header) + body.value() + "\r\n");
        if (!wrapped.broken.empty()) {
            out.broken = wrapped.broken + " (as the body of a " + std::string(header) + " file)";
            return out;
        }
    }
    return out;
}

}  // namespace tess::fuzzcheck
