#include "explorer/PageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <system_error>

#include "platform/ReadFully.h"

namespace tess::explorer {

namespace {

PageStamp::Time timeOf(const struct timespec& t) {
    return PageStamp::Time{static_cast<std::int64_t>(t.tv_sec),
                           static_cast<std::int64_t>(t.tv_nsec)};
}

PageStamp stampOf(const struct stat& st, bool link) {
    PageStamp stamp;
    stamp.device = static_cast<std::uint64_t>(st.st_dev);
    stamp.inode = static_cast<std::uint64_t>(st.st_ino);
    stamp.size = static_cast<std::uint64_t>(st.st_size);
    stamp.modified = timeOf(st.st_mtim);
    stamp.link = link;
    return stamp;
}

// The stamp of the open file, its birth time included where the file system keeps one.
PageStamp stampOf(int fd, const struct stat& st, bool link) {
    PageStamp stamp = stampOf(st, link);
    struct statx sx {};
    if (::statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME) != 0) {
        stamp.born = PageStamp::Time{static_cast<std::int64_t>(sx.stx_btime.tv_sec),
                                     static_cast<std::int64_t>(sx.stx_btime.tv_nsec)};
    }
    return stamp;
}

int codeFor(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return errc::FileNotFound;
        case EACCES:
        case EPERM:
            return errc::PermissionDenied;
        case ENOMEM:
            return errc::OutOfMemory;
        default:
            return errc::Generic;
    }
}

// "<seconds>.<nine digits>", as keepCreated writes it; nothing for anything else.
std::optional<PageStamp::Time> parseTime(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || text.size() - dot - 1 != 9) {
        return std::nullopt;
    }
    PageStamp::Time t;
    const char* end = text.data() + dot;
    const std::from_chars_result read = std::from_chars(text.data(), end, t.seconds);
    if (read.ec != std::errc() || read.ptr != end) {
        return std::nullopt;
    }
    const char* digits = end + 1;
    for (const char* c = digits; c != text.data() + text.size(); ++c) {
        if (*c < '0' || *c > '9') {
            return std::nullopt;
        }
        t.nanoseconds = t.nanoseconds * 10 + (*c - '0');
    }
    return t;
}

}  // namespace

PageFile::~PageFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

Error PageFile::fail(int err, const char* what) {
    failedErrno_ = err;
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    return Error{codeFor(err),
                 std::string(what) + " \"" + path_ + "\": " + std::generic_category().message(err)};
}

Status PageFile::open(const std::string& path, bool followLinks) {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    path_ = path;
    failedErrno_ = 0;
    // Non-blocking, so that a pipe at the name is refused below instead of waited on.
    constexpr int kFlags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    bool link = false;
    fd_ = ::open(path.c_str(), kFlags | O_NOFOLLOW);
    if (fd_ < 0 && errno == ELOOP && followLinks) {
        link = true;
        fd_ = ::open(path.c_str(), kFlags);
    }
    if (fd_ < 0) {
        return fail(errno, "Cannot open");
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0) {
        return fail(errno, "Cannot read");
    }
    if (!S_ISREG(st.st_mode)) {
        return fail(S_ISDIR(st.st_mode) ? EISDIR : ENODEV, "Cannot read");
    }
    stamp_ = stampOf(fd_, st, link);
    return {};
}

Result<PageStamp> PageFile::restamp() const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) {
        const int err = fd_ < 0 ? EBADF : errno;
        return Error{codeFor(err),
                     "Cannot read \"" + path_ + "\": " + std::generic_category().message(err)};
    }
    return stampOf(fd_, st, stamp_.link);
}

bool PageFile::isAt(const std::string& path) const {
    struct stat st {};
    const int got = stamp_.link ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    return got == 0 && S_ISREG(st.st_mode) && stampOf(st, stamp_.link).sameFile(stamp_);
}

Result<std::size_t> PageFile::readAt(std::uint64_t offset, char* into, std::size_t size) const {
    std::size_t got = 0;
    if (const int err = readFullyAt(fd_, offset, into, size, got); err != 0) {
        return Error{err == ENOMEM ? errc::OutOfMemory : errc::Generic,
                     "Cannot read \"" + path_ + "\": " + std::generic_category().message(err)};
    }
    return got;
}

Result<std::string> PageFile::head(std::size_t maxBytes) const {
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(stamp_.size, maxBytes)));
    } catch (const std::exception&) {
        return Error{errc::OutOfMemory,
                     "Cannot read \"" + path_ + "\": " + std::generic_category().message(ENOMEM)};
    }
    Result<std::size_t> got = readAt(0, bytes.data(), bytes.size());
    if (!got) {
        return got.error();
    }
    bytes.resize(*got);
    return bytes;
}

std::optional<PageStamp::Time> PageFile::created() const {
    if (fd_ < 0) {
        return std::nullopt;
    }
    char kept[40];
    const ssize_t n = ::fgetxattr(fd_, kCreatedAttribute, kept, sizeof kept);
    if (n > 0) {
        if (std::optional<PageStamp::Time> t =
                parseTime(std::string_view(kept, static_cast<std::size_t>(n)))) {
            return t;
        }
    }
    struct statx sx {};
    if (::statx(fd_, "", AT_EMPTY_PATH, STATX_BTIME | STATX_MTIME, &sx) != 0) {
        return std::nullopt;
    }
    // The creation time where the file system keeps one, else the last change of the content.
    const bool born = (sx.stx_mask & STATX_BTIME) != 0 && sx.stx_btime.tv_sec != 0;
    const statx_timestamp& stamp = born ? sx.stx_btime : sx.stx_mtime;
    return PageStamp::Time{static_cast<std::int64_t>(stamp.tv_sec),
                           static_cast<std::int64_t>(stamp.tv_nsec)};
}

bool PageFile::keepCreated(const PageStamp::Time& time) const {
    if (fd_ < 0 || time.nanoseconds < 0 || time.nanoseconds > 999999999) {
        return false;
    }
    std::string nanoseconds = std::to_string(time.nanoseconds);
    nanoseconds.insert(0, 9 - nanoseconds.size(), '0');
    const std::string text = std::to_string(time.seconds) + "." + nanoseconds;
    return ::fsetxattr(fd_, kCreatedAttribute, text.data(), text.size(), 0) == 0;
}

}  // namespace tess::explorer
