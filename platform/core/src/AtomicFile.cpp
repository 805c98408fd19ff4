#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>
#include <system_error>

namespace tess {

namespace {

// The new file's name: "~", the target's name, "." and eight hex digits, with the target's name
// cut (on a character boundary) so that the whole still fits the folder's longest name.
std::string tempName(std::string name) {
    constexpr std::size_t kRoom = NAME_MAX - 10;
    if (name.size() > kRoom) {
        std::size_t cut = kRoom;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    thread_local std::mt19937 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix(8, '0');
    for (char& ch : suffix) {
        ch = kDigits[generator() & 15];
    }
    return "~" + name + "." + suffix;
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Makes the folder's new entry durable. The new file is in place already, whatever this gives:
// a file system that cannot sync a folder (or refuses to open it) only loses the guarantee.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

int AtomicFile::errorCode(int err) {
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
        case ENOMEM:
            return errc::OutOfMemory;
        default:
            return errc::Generic;
    }
}

int AtomicFile::writeAll(int fd, std::string_view first, std::string_view second) {
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
        const ssize_t written = ::writev(fd, next, count);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
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
    return 0;
}

AtomicFile::~AtomicFile() {
    discard();
}

Error AtomicFile::fail(Step step, int err) {
    failedStep_ = step;
    failedErrno_ = err;
    return Error{errorCode(err),
                 "Cannot write \"" + path_ + "\": " + std::generic_category().message(err)};
}

Status AtomicFile::open(const std::string& path) {
    discard();
    path_ = path;
    target_ = path;
    failedStep_ = Step::None;
    failedErrno_ = 0;
    if (path.empty()) {
        failedStep_ = Step::Name;
        failedErrno_ = ENOENT;
        return Error{errorCode(ENOENT), "Cannot write a file without a name"};
    }
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            return fail(Step::Folder, EISDIR);
        }
        if (!S_ISREG(existing.st_mode)) {
            return openSpecial();
        }
        // Refused as an ordinary write into the file would be.
        if (::access(path.c_str(), W_OK) != 0) {
            return fail(Step::ReadOnly, errno);
        }
        struct stat link {};
        if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
            if (char* resolved = ::realpath(path.c_str(), nullptr)) {
                target_ = resolved;
                std::free(resolved);
            }
        }
    }
    const std::string folder = folderOf(target_) + "/";
    const std::string name = nameOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = folder + tempName(name);
        fd_ = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0 || errno != EEXIST) {
            break;
        }
    }
    if (fd_ < 0) {
        const int err = errno;
        temp_.clear();
        return fail(Step::Create, err);
    }
    if (exists) {
        // The owner first (where the system lets us): a change of owner can clear the set-id bits.
        (void)::fchown(fd_, existing.st_uid, existing.st_gid);
        (void)::fchmod(fd_, existing.st_mode & 07777);
    }
    return {};
}

Status AtomicFile::openSpecial() {
    // Without O_NONBLOCK a pipe nobody reads would hold the open here for good; with it the open
    // fails at once. Writes then block again as usual.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        return fail(Step::Open, errno);
    }
    (void)::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    return {};
}

Status AtomicFile::write(std::string_view bytes) {
    return write(bytes, {});
}

Status AtomicFile::write(std::string_view first, std::string_view second) {
    if (fd_ < 0) {
        return fail(Step::Write, EBADF);
    }
    if (const int err = writeAll(fd_, first, second); err != 0) {
        discard();
        return fail(Step::Write, err);
    }
    return {};
}

Status AtomicFile::commit() {
    if (fd_ < 0) {
        return fail(Step::Write, EBADF);
    }
    const int fd = fd_;
    fd_ = -1;
    // The bytes reach the disk before the name does, so a crash or a power loss after the rename
    // leaves the new file whole, never an empty one in the old one's place.
    const bool replacing = !temp_.empty();
    const int synced = replacing && ::fsync(fd) != 0 ? errno : 0;
    Status status;
    if (::close(fd) != 0) {
        status = fail(Step::Write, errno);
    } else if (synced != 0) {
        status = fail(Step::Write, synced);
    } else if (replacing && ::rename(temp_.c_str(), target_.c_str()) != 0) {
        status = fail(Step::Rename, errno);
    } else {
        temp_.clear();
        if (replacing) {
            syncFolder(folderOf(target_));
        }
    }
    discard();
    return status;
}

void AtomicFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty()) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

}  // namespace tess
