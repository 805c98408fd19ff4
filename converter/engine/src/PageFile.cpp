#include "engine/PageFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace tess {

namespace {

// Small pieces (row ends, short rows) are gathered so that a page costs few system calls; larger
// ones go out directly behind what is gathered.
constexpr std::size_t kGatherLimit = 128 * 1024;

}  // namespace

PageFile::~PageFile() {
    discard();
}

Error PageFile::failure(std::string_view action, int err) const {
    std::string reason(action);
    reason += " ";
    reason += path_;
    reason += ": ";
    reason += std::strerror(err);
    return Error{AtomicFile::errorCode(err), std::move(reason)};
}

// The file's failure in the page's own words.
Error PageFile::fileFailure() const {
    using Step = AtomicFile::Step;
    const int err = file_.failedErrno();
    switch (file_.failedStep()) {
        case Step::Folder:
        case Step::Create:
            return failure("Cannot create", err);
        case Step::Open:
            return failure("Cannot open", err);
        case Step::ReadOnly:
            // The system's own reason: a page on a read-only file system says so.
            return failure("Cannot replace", err != 0 ? err : EACCES);
        case Step::Rename:
            return failure("Cannot save", err);
        case Step::None:
        case Step::Name:
        case Step::Link:
        case Step::Write:
            break;
    }
    return failure("Cannot write", err);
}

Status PageFile::open(const std::string& path) {
    discard();
    path_ = path;
    if (path.empty()) {
        return Error{errc::PathNotFound, "Cannot create the page: no file name was given"};
    }
    pending_.reserve(kGatherLimit);
    // The writer judges any link on the way first, so a link that may not be followed is refused
    // with its own reason before the file it leads to is looked at.
    if (Status opened = file_.open(path); !opened) {
        return file_.failedStep() == AtomicFile::Step::Link ? opened.error() : fileFailure();
    }
    // A page without write permission counts as read-only, also for a user whom the system would
    // let write anyway.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        (existing.st_mode & 0222) == 0) {
        file_.discard();
        return failure("Cannot replace", EACCES);
    }
    return {};
}

Status PageFile::write(std::string_view piece) {
    if (!file_.isOpen()) {
        return failure("Cannot write", EBADF);
    }
    if (pending_.size() + piece.size() <= kGatherLimit) {
        pending_.append(piece);
        return {};
    }
    const bool written = file_.write(pending_, piece).ok();
    pending_.clear();
    if (!written) {
        return fileFailure();
    }
    return {};
}

Status PageFile::commit() {
    if (!file_.isOpen()) {
        return failure("Cannot write", EBADF);
    }
    const bool saved = file_.write(pending_).ok() && file_.commit().ok();
    pending_.clear();
    if (!saved) {
        return fileFailure();
    }
    return {};
}

void PageFile::discard() {
    file_.discard();
    pending_.clear();
}

}  // namespace tess
