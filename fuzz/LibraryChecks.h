#pragma once

// What must hold for the graphics library reader on any bytes: it ends, stays inside its input,
// keeps no record whose name could leave the library, lists no picture too large to list, a
// refusal says why, and what it reads survives being written and read again. The bytes go in as
// a decoded body and as a whole library file.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CheckOutcome.h"
#include "platform/Result.h"
#include "projects/GraphicsLibrary.h"

namespace tess::fuzzcheck {

namespace detail {

// The unpacking (with a decoder that takes every picture as one pixel) keeps, in listing order,
// either a thumbnail or, for a picture its headers state as large, the picture's bytes to decode
// later; nothing else.
inline std::string checkUnpacking(std::string_view file) {
    const Result<std::vector<LibraryPicture>> unpacked =
        unpackLibrary(file, [](std::string_view) { return Result<Picture>(Picture(1, 1)); }, {});
    const Result<std::vector<LibraryRecord>> records = readLibrary(file);
    const std::vector<LibraryRecord> listed =
        records ? listedPictures(records.value()) : std::vector<LibraryRecord>();
    if (!unpacked) {
        return listed.empty() ? "" : "an unpacking refused pictures the listing offers";
    }
    if (unpacked->size() != listed.size()) {
        return "the unpacking kept other pictures than the listing offers";
    }
    for (std::size_t i = 0; i < listed.size(); ++i) {
        const LibraryPicture& p = (*unpacked)[i];
        if (p.name != listed[i].name) {
            return "the unpacking kept the pictures in another order";
        }
        if (p.pending ? (p.data != listed[i].data || p.thumbnail.width() != 0)
                      : (!p.data.empty() || p.thumbnail.width() != 1)) {
            return "the picture \"" + p.name + "\" was unpacked neither as a thumbnail nor pending";
        }
    }
    return {};
}

// Every record kept is sound, and writing the records and reading them back gives them again.
inline std::string checkRecords(const std::vector<LibraryRecord>& records) {
    for (const LibraryRecord& record : records) {
        if (!isSafeRecordName(record.name)) {
            return "a record kept with the unsafe name \"" + record.name + "\"";
        }
    }
    const Result<std::string> file = writeLibrary(records);
    if (!file) {
        return "the writer refused the records: " + file.error().reason;
    }
    const Result<std::vector<LibraryRecord>> back = readLibrary(file.value());
    if (!back) {
        return "the reader refused what the writer wrote: " + back.error().reason;
    }
    if (back.value() != records) {
        return "the records came back otherwise from the writer";
    }
    for (const LibraryRecord& listed : listedPictures(records)) {
        if (listed.data.size() + 2 > library::kMaxListedFileSize) {
            return "the picture \"" + listed.name + "\" listed beyond the listed size";
        }
    }
    return checkUnpacking(file.value());
}

}  // namespace detail

// `read` is whether the bytes were read as a library file.
inline Outcome checkLibrary(std::string_view bytes) {
    Outcome out;
    const std::vector<LibraryRecord> body = parseRecords(bytes);
    std::size_t total = 0;
    for (const LibraryRecord& record : body) {
        total += record.data.size();
    }
    if (total > bytes.size()) {
        out.broken = "the body's records hold more than its bytes";
    } else if (std::string broken = detail::checkRecords(body); !broken.empty()) {
        out.broken = broken + " (as a body)";
    }
    const Result<std::vector<LibraryRecord>> read = readLibrary(bytes);
    out.read = read.ok();
    if (!read) {
        out.what = read.error().reason;
        if (out.broken.empty() && read.error().reason.empty()) {
            out.broken = "a library refused without a reason";
        }
        return out;
    }
    out.what = std::to_string(read->size()) + " records";
    if (out.broken.empty()) {
        if (std::string broken = detail::checkRecords(read.value()); !broken.empty()) {
            out.broken = broken + " (as a file)";
        }
    }
    return out;
}

}  // namespace tess::fuzzcheck
