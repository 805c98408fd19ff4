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
    return {};
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
