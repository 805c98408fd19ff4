#pragma once

// What must hold for the graphics library reader on any bytes: it ends, stays inside its input,
// keeps no record whose name could leave the library, lists no picture too large to list, a
// refusal says why, what it reads survives being written and read again, and the unpacking, which
// reads a body a piece at a time, makes what reading the whole body makes. The bytes go in as a
// decoded body and as a whole library file.
#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "CheckOutcome.h"
#include "platform/Result.h"
#include "projects/FileEncoder.h"
#include "projects/GraphicsLibrary.h"

namespace tess::fuzzcheck {

namespace detail {

// Whether a header line of the body may be longer than the unpacking reads: a text between line
// ends longer than "TGL-FS:" and library::kMaxHeaderLine. The unpacking's records may end earlier
// there.
inline bool mayHoldALongHeader(std::string_view file) {
    const Result<std::string> body =
        DecodeFile(file.substr(std::min(file.size(), library::kMarkSize)));
    if (!body) {
        return false;
    }
    const std::size_t kLongest = library::kRecordStart.size() + library::kMaxHeaderLine;
    std::size_t lineAt = 0;
    for (std::size_t end; (end = body->find("\r\n", lineAt)) != std::string::npos;
         lineAt = end + 2) {
        if (end - lineAt > kLongest) {
            return true;
        }
    }
    return body->size() - lineAt > kLongest;
}

// The unpacking (with a decoder that takes every picture as one pixel) reads the body a piece at
// a time and must make what reading the whole body makes: the refusal of readLibrary with its
// reason, or, in listing order, either a thumbnail or, for a picture its headers state as large,
// the picture's bytes to decode later; nothing else; and a step for every record.
inline std::string checkUnpacking(std::string_view file) {
    std::vector<std::string> steps;
    const Result<std::vector<LibraryPicture>> unpacked = unpackLibrary(
        file, [](std::string_view) { return Result<Picture>(Picture(1, 1)); },
        [&](const std::string& step) { steps.push_back(step); });
    const Result<std::vector<LibraryRecord>> records = readLibrary(file);
    if (!records) {
        if (unpacked) {
            return "an unpacking took a library the reader refused";
        }
        return unpacked.error().reason == records.error().reason
                   ? ""
                   : "an unpacking refused a library for another reason than the reader: " +
                         unpacked.error().reason;
    }
    if (mayHoldALongHeader(file)) {
        return {};
    }
    std::vector<std::string> expected = {"Analyzing data...", "Processing data..."};
    for (const LibraryRecord& record : records.value()) {
        expected.push_back("Processing data... " + record.name);
    }
    expected.push_back("Loading images...");
    if (steps != expected) {
        return "the unpacking reported other steps than the library's records";
    }
    const std::vector<LibraryRecord> listed = listedPictures(records.value());
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
    if (out.broken.empty()) {
        if (std::string broken = detail::checkUnpacking(bytes); !broken.empty()) {
            out.broken = broken + " (the file itself)";
        }
    }
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
