#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <mutex>
#include <random>
#include <set>
#include <string_view>
#include <system_error>

namespace tess {

namespace {

constexpr std::size_t kSuffixDigits = 8;

// What every new file's name for the target `name` starts with: "~", the name and ".", with the
// name cut (on a character boundary) so that the suffix still fits the folder's longest name.
std::string tempPrefix(std::string name) {
    constexpr std::size_t kRoom = NAME_MAX - 2 - kSuffixDigits;
    if (name.size() > kRoom) {
        std::size_t cut = kRoom;
        while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
            --cut;
        }
        name.resize(cut);
    }
    return "~" + name + ".";
}

// The prefix and eight random lower-case hex digits.
std::string tempName(const std::string& name) {
    thread_local std::mt19937 generator{std::random_device{}()};
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string suffix(kSuffixDigits, '0');
    for (char& ch : suffix) {
        ch = kDigits[generator() & 15];
    }
    return tempPrefix(name) + suffix;
}

// The target name that a name this class gives stands for, "page.html" for
// "~page.html.0123abcd" (cut as tempPrefix() cuts it); empty for any other name.
std::string_view targetOf(std::string_view entry) {
    if (entry.size() < 3 + kSuffixDigits || entry.front() != '~') {
        return {};
    }
    const std::size_t dot = entry.size() - kSuffixDigits - 1;
    if (entry[dot] != '.') {
        return {};
    }
    for (char ch : entry.substr(dot + 1)) {
        if (!((ch >= '0' && ch <= '9') || (ch >= 'a' && ch <= 'f'))) {
            return {};
        }
    }
    return entry.substr(1, dot - 1);
}

// Removes the entry when a killed writer left it: a plain file of this user with no other link,
// not written since `before`, and not locked (a live writer holds its lock, however it ends).
void removeIfAbandoned(int dirFd, const char* entry, std::time_t before) {
    struct stat named {};
    if (::fstatat(dirFd, entry, &named, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(named.st_mode) ||
        named.st_uid != ::geteuid() || named.st_nlink != 1 || named.st_mtime > before) {
        return;
    }
    const int fd =
        ::openat(dirFd, entry, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    struct stat opened {};
    if (::fstat(fd, &opened) == 0 && opened.st_dev == named.st_dev &&
        opened.st_ino == named.st_ino && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        struct stat still {};
        if (::fstatat(dirFd, entry, &still, AT_SYMLINK_NOFOLLOW) == 0 &&
            still.st_dev == named.st_dev && still.st_ino == named.st_ino) {
            (void)::unlinkat(dirFd, entry, 0);
        }
    }
    ::close(fd);
}

// Calls `visit` with every entry of the folder and the folder's descriptor.
template <class Visit>
void forEachEntry(const std::string& folder, Visit visit) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const int dirFd = ::dirfd(dir);
    while (const dirent* entry = ::readdir(dir)) {
        visit(dirFd, entry->d_name);
    }
    ::closedir(dir);
}

// The process's file mode mask, read without changing it where the system tells it.
mode_t currentUmask() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("Umask:", 0) == 0) {
            return static_cast<mode_t>(std::strtoul(line.c_str() + 6, nullptr, 8) & 0777);
        }
    }
    const mode_t mask = ::umask(022);
    ::umask(mask);
    return mask;
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
    const std::string folder = folderOf(target_);
    const std::string name = nameOf(target_);
    if (newFile_ == NewFile::AnonymousWherePossible) {
        // Without a name nobody else can reach the file, so it may get its final mode at once.
        fd_ = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // commit() names the file through its entry in /proc, or through the descriptor itself
        // where the process may; a file that could get neither is made with a name instead.
        if (fd_ >= 0 && ::access(("/proc/self/fd/" + std::to_string(fd_)).c_str(), F_OK) != 0 &&
            ::geteuid() != 0) {
            ::close(fd_);
            fd_ = -1;
        }
        if (fd_ >= 0) {
            kind_ = Kind::Anonymous;
            // Only a writer killed between naming and renaming, or an older program, leaves a
            // named file here: once per folder and run is enough.
            removeAbandonedOnce(folder);
        }
    }
    if (fd_ < 0) {
        // Any failure of the anonymous file (a file system without them, a folder we may not
        // write) is met again, with the same reason, by the named one.
        removeAbandoned(folder, name);
        fd_ = createNamed(folder + "/", name);
        if (fd_ < 0) {
            const int err = errno;
            temp_.clear();
            return fail(Step::Create, err);
        }
        kind_ = Kind::Named;
    }
    // A lock held for as long as the file is written tells removeAbandoned() that a writer lives.
    (void)::flock(fd_, LOCK_EX | LOCK_NB);
    if (exists) {
        // The owner first (where the system lets us): a change of owner can clear the set-id bits.
        (void)::fchown(fd_, existing.st_uid, existing.st_gid);
        (void)::fchmod(fd_, existing.st_mode & 07777);
    } else if (kind_ == Kind::Named) {
        (void)::fchmod(fd_, 0666 & ~currentUmask());
    }
    return {};
}

// Made for its owner alone, so that nobody else can open it (and read on as the bytes arrive)
// before it takes the mode of the file it replaces.
int AtomicFile::createNamed(const std::string& folder, const std::string& name) {
    int fd = -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = folder + tempName(name);
        fd = ::open(temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            break;
        }
    }
    return fd;
}

// Links the anonymous file into the folder under a fresh name. Returns 0 or the errno.
int AtomicFile::giveName(const std::string& folder, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    int err = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = folder + "/" + tempName(name);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temp_.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            (errno == ENOENT && ::linkat(fd_, "", AT_FDCWD, temp_.c_str(), AT_EMPTY_PATH) == 0)) {
            return 0;
        }
        err = errno;
        if (err != EEXIST) {
            break;
        }
    }
    temp_.clear();
    return err;
}

void AtomicFile::removeAbandoned(const std::string& folder, const std::string& name) {
    const std::string prefix = tempPrefix(name);
    const std::string_view target = std::string_view(prefix).substr(1, prefix.size() - 2);
    const std::time_t before = std::time(nullptr) - kAbandonedAfterSeconds;
    forEachEntry(folder, [&](int dirFd, const char* entry) {
        if (!target.empty() && targetOf(entry) == target) {
            removeIfAbandoned(dirFd, entry, before);
        }
    });
}

void AtomicFile::removeAbandonedBesideTargets(const std::string& folder) {
    const std::time_t before = std::time(nullptr) - kAbandonedAfterSeconds;
    forEachEntry(folder, [&](int dirFd, const char* entry) {
        const std::string target(targetOf(entry));
        struct stat info {};
        if (!target.empty() && ::fstatat(dirFd, target.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            removeIfAbandoned(dirFd, entry, before);
        }
    });
}

void AtomicFile::removeAbandonedOnce(const std::string& folder) {
    static std::mutex guard;
    static std::set<std::string> swept;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (!swept.insert(folder).second) {
            return;
        }
    }
    removeAbandonedBesideTargets(folder);
}

Status AtomicFile::openSpecial() {
    // Without O_NONBLOCK a pipe nobody reads would hold the open here for good; with it the open
    // fails at once. Writes then block again as usual.
    fd_ = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd_ < 0) {
        return fail(Step::Open, errno);
    }
    kind_ = Kind::Special;
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
    // The bytes reach the disk before the name does, so a crash or a power loss after the rename
    // leaves the new file whole, never an empty one in the old one's place.
    const bool replacing = kind_ != Kind::Special;
    Status status;
    if (replacing && ::fsync(fd_) != 0) {
        status = fail(Step::Write, errno);
    } else if (kind_ == Kind::Anonymous) {
        if (const int err = giveName(folderOf(target_), nameOf(target_)); err != 0) {
            status = fail(Step::Rename, err);
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && status.ok()) {
        status = fail(Step::Write, errno);
    }
    if (status.ok() && replacing) {
        if (::rename(temp_.c_str(), target_.c_str()) != 0) {
            status = fail(Step::Rename, errno);
        } else {
            temp_.clear();
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
    kind_ = Kind::None;
}

}  // namespace tess
