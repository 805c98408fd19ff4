#include "engine/PageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>

namespace tess {

namespace {

// Small pieces (row ends, short rows) are gathered so that a page costs few system calls; larger
// ones go out directly behind what is gathered.
constexpr std::size_t kGatherLimit = 128 * 1024;

int errorCode(int err) {
    switch (err) {
        case ENOENT:
        case ENOTDIR:
            return errc::PathNotFound;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return errc::PermissionDenied;
        case ENOSPC:
        case EDQUOT:
        case EFBIG:
            return errc::DiskFull;
        default:
            return errc::Generic;
    }
}

// The new file's name: "~", the target's name, "." and eight digits, with the target's name cut
// (on a character boundary) so that the whole still fits the folder's longest name.
std::string tempPrefix(std::string name) {
    constexpr std::size_t kRoom = NAME_MAX - 10;
    if (name.size() > kRoom) {
        std::size_t cut = kRoom;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return "~" + name + ".";
}

std::string tempSuffix() {
    static std::mt19937 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix(8, '0');
    for (char& ch : suffix) {
        ch = kDigits[generator() & 15];
    }
    return suffix;
}

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
    return Error{errorCode(err), std::move(reason)};
}

Status PageFile::open(const std::string& path) {
    discard();
    path_ = path;
    target_ = path;
    if (path.empty()) {
        return Error{errc::PathNotFound, "Cannot create the page: no file name was given"};
    }
    pending_.reserve(kGatherLimit);
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            return failure("Cannot create", EISDIR);
        }
        if (!S_ISREG(existing.st_mode)) {
            // Without O_NONBLOCK a pipe nobody reads would hold the run here for good; with it
            // the open fails at once. Writes then block again as usual.
            fd_ = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
            if (fd_ < 0) {
                return failure("Cannot open", errno);
            }
            const int flags = ::fcntl(fd_, F_GETFL);
            (void)::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK);
            return {};
        }
        // A file without write permission counts as read-only, also for a user whom the system
        // would let write anyway.
        if ((existing.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) {
            return failure("Cannot replace", EACCES);
        }
        std::error_code ignored;
        const auto resolved = std::filesystem::canonical(path, ignored);
        if (!ignored) {
            target_ = resolved.string();
        }
    }
    const std::filesystem::path targetPath(target_);
    const std::string name = tempPrefix(targetPath.filename().string());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = (targetPath.parent_path() / (name + tempSuffix())).string();
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        const int err = errno;
        temp_.clear();
        return failure("Cannot create", err);
    }
    if (exists) {
        // The new page keeps the old one's permissions (and owner, where we may set it).
        (void)::fchmod(fd_, existing.st_mode & 07777);
        (void)::fchown(fd_, existing.st_uid, existing.st_gid);
    }
    return {};
}

Status PageFile::write(std::string_view piece) {
    if (fd_ < 0) {
        return failure("Cannot write", EBADF);
    }
    if (pending_.size() + piece.size() <= kGatherLimit) {
        pending_.append(piece);
        return {};
    }
    Status status = writeOut(pending_, piece);
    pending_.clear();
    return status;
}

Status PageFile::writeOut(std::string_view first, std::string_view second) {
    std::array<iovec, 2> parts{iovec{const_cast<char*>(first.data()), first.size()},
                               iovec{const_cast<char*>(second.data()), second.size()}};
    iovec* next = parts.data();
    int count = 2;
    while (count > 0) {
        if (next->iov_len == 0) {
            ++next;
            --count;
            continue;
        }
        const ssize_t written = ::writev(fd_, next, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return failure("Cannot write", errno);
        }
        auto left = static_cast<std::size_t>(written);
        while (count > 0 && left >= next->iov_len) {
            left -= next->iov_len;
            ++next;
            --count;
        }
        if (count > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + left;
            next->iov_len -= left;
        }
    }
    return {};
}

Status PageFile::commit() {
    if (fd_ < 0) {
        return failure("Cannot write", EBADF);
    }
    Status status = writeOut(pending_, {});
    pending_.clear();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && status) {
        status = failure("Cannot write", errno);
    }
    if (status && !temp_.empty() && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        status = failure("Cannot save", errno);
    }
    if (!status) {
        discard();
        return status;
    }
    temp_.clear();
    return status;
}

void PageFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
    pending_.clear();
}

}  // namespace tess
