#include "platform/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <fstream>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string_view>
#include <system_error>
#include <vector>

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

// Calls `visit` with every entry of the folder open at `dirFd` and a descriptor of the folder.
template <class Visit>
void forEachEntry(int dirFd, Visit visit) {
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return;
    }
    DIR* dir = ::fdopendir(fd);
    if (dir == nullptr) {
        ::close(fd);
        return;
    }
    while (const dirent* entry = ::readdir(dir)) {
        visit(fd, entry->d_name);
    }
    ::closedir(dir);
}

// The same for a folder given by name.
template <class Visit>
void forEachEntry(const std::string& folder, Visit visit) {
    const int dirFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        forEachEntry(dirFd, visit);
        ::close(dirFd);
    }
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

std::string joinName(const std::string& folder, const std::string& name) {
    return folder.empty() || folder.back() == '/' ? folder + name : folder + "/" + name;
}

// The name the system gives the folder open at `dirFd`; `walked` (the way it was reached) where
// the system tells none.
std::string folderName(int dirFd, const std::string& walked) {
    std::array<char, PATH_MAX> name{};
    const std::string self = "/proc/self/fd/" + std::to_string(dirFd);
    const ssize_t length = ::readlink(self.c_str(), name.data(), name.size());
    if (length <= 0 || static_cast<std::size_t>(length) >= name.size() || name[0] != '/') {
        return walked.empty() ? "/" : walked;
    }
    return std::string(name.data(), static_cast<std::size_t>(length));
}

// Puts the parts of `path` in front of `rest`; a path that ends in "/" ends in "." so that it
// must name a folder.
void prependParts(std::deque<std::string>& rest, const std::string& path) {
    std::vector<std::string> parts;
    std::size_t at = 0;
    while (at <= path.size()) {
        const std::size_t slash = std::min(path.find('/', at), path.size());
        if (slash > at) {
            parts.emplace_back(path, at, slash - at);
        }
        at = slash + 1;
    }
    if (!path.empty() && path.back() == '/') {
        parts.emplace_back(".");
    }
    rest.insert(rest.begin(), parts.begin(), parts.end());
}

std::string readLinkAt(int dirFd, const std::string& name) {
    std::string target(PATH_MAX + 1, '\0');
    const ssize_t length = ::readlinkat(dirFd, name.c_str(), target.data(), target.size());
    if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
        return {};
    }
    target.resize(static_cast<std::size_t>(length));
    return target;
}

// Makes the folder's new entry durable. The new file is in place already, whatever this gives:
// a file system that cannot sync a folder (or refuses to open it) only loses the guarantee.
void syncFolder(int dirFd) {
    const int fd = ::openat(dirFd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

// As many links as the system follows for one name.
constexpr int kMaxLinks = 40;

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

AtomicFile::AtomicFile(NewFile newFile) : AtomicFile(newFile, ::geteuid()) {}

AtomicFile::~AtomicFile() {
    discard();
}

AtomicFile::LinkVerdict AtomicFile::judgeLink(uid_t linkOwner, uid_t folderOwner, mode_t folderMode,
                                              uid_t user) {
    if (linkOwner == user || linkOwner == 0) {
        return LinkVerdict::Follow;
    }
    if ((folderMode & (S_IWGRP | S_IWOTH)) != 0) {
        return LinkVerdict::FolderOpenToOthers;
    }
    return linkOwner == folderOwner ? LinkVerdict::Follow : LinkVerdict::NotFolderOwners;
}

Error AtomicFile::fail(Step step, int err) {
    failedStep_ = step;
    failedErrno_ = err;
    return Error{errorCode(err),
                 "Cannot write \"" + path_ + "\": " + std::generic_category().message(err)};
}

Error AtomicFile::refuse(const std::string& folder, const std::string& link,
                         const struct stat& linkInfo, const struct stat& folderInfo,
                         LinkVerdict verdict) {
    failedStep_ = Step::Link;
    failedErrno_ = EACCES;
    std::string why = "the symbolic link \"" + link + "\" belongs to another user (uid " +
                      std::to_string(linkInfo.st_uid) + ")";
    if (verdict == LinkVerdict::FolderOpenToOthers) {
        std::array<char, 8> mode{};
        std::snprintf(mode.data(), mode.size(), "%04o", folderInfo.st_mode & 07777);
        why += " and stands in \"" + folder + "\", a folder others may write (mode " + mode.data() +
               ")";
    } else {
        why += ", not to the owner of its folder \"" + folder + "\" (uid " +
               std::to_string(folderInfo.st_uid) + ")";
    }
    return Error{errc::PermissionDenied,
                 "Cannot write \"" + path_ + "\": " + why + ", so it was not followed"};
}

// Walks the path a part at a time from descriptor to descriptor, never letting the system follow
// a link: each link met is judged in the folder it stands in (the folder itself as reached, so
// a folder reached through links is judged by what it is) and its target walked in its place.
// A link on the way to the named file's folder must pass. A chain of links at the named file
// itself must pass only where it leads to something; one that leads nowhere (a missing target,
// a loop) is not followed, and its first link is replaced as before. Sets dirFd_, folder_ and
// target_ to the folder and name of the file to replace; `exists` tells whether it is there
// (`entry` its status).
Status AtomicFile::resolve(const std::string& path, struct stat& entry, bool& exists) {
    std::deque<std::string> rest;
    prependParts(rest, path);
    const bool absolute = path.front() == '/';
    int dir = ::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        return fail(Step::Create, errno);
    }
    std::string walked = absolute ? "" : ".";  // for messages where the system names no folder
    int links = 0;
    // Where the named file's own name stands, once it is found to be a link.
    int namedDir = -1;
    std::string namedName;
    std::string namedWalked;
    std::optional<Error> refused;  // the first link of that chain that may not be followed
    const auto finish = [&](int folder, const std::string& walkedTo, std::string name) {
        dirFd_ = folder;
        folder_ = folderName(folder, walkedTo);
        target_ = std::move(name);
    };
    // A part that cannot be walked: the end where it is the named file's own chain, else the
    // failure the new file would have met.
    const auto stop = [&](int err) -> Status {
        if (namedDir >= 0) {
            ::close(dir);
            // A descriptor's entry in /proc (/dev/stdout, /dev/fd/N) reads as "pipe:[N]", no
            // path, yet the system reaches the pipe, socket or device behind it: that is written
            // into as any such node is, never replaced by a file.
            struct stat reached {};
            if (::fstatat(namedDir, namedName.c_str(), &reached, 0) == 0 &&
                !S_ISREG(reached.st_mode)) {
                if (refused) {
                    ::close(namedDir);
                    return *refused;
                }
                exists = true;
                entry = reached;
                followNamed_ = true;
            } else {
                exists = false;
            }
            finish(namedDir, namedWalked, namedName);
            return {};
        }
        ::close(dir);
        return fail(Step::Create, err);
    };
    while (!rest.empty()) {
        const std::string part = std::move(rest.front());
        rest.pop_front();
        const bool last = rest.empty();
        if (part == ".") {
            continue;
        }
        if (part == "..") {
            const int up = ::openat(dir, "..", O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (up < 0) {
                return stop(errno);
            }
            ::close(dir);
            dir = up;
            walked = joinName(walked, "..");
            continue;
        }
        struct stat info {};
        if (::fstatat(dir, part.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
            const int err = errno;
            if (last && err == ENOENT && namedDir < 0) {
                exists = false;
                finish(dir, walked, part);
                return {};
            }
            return stop(err);
        }
        if (S_ISLNK(info.st_mode)) {
            if (last && namedDir < 0) {
                namedDir = ::dup(dir);
                if (namedDir < 0) {
                    return stop(errno);
                }
                namedName = part;
                namedWalked = walked;
            }
            if (++links > kMaxLinks) {
                return stop(ELOOP);
            }
            struct stat folderInfo {};
            if (::fstat(dir, &folderInfo) != 0) {
                return stop(errno);
            }
            const LinkVerdict verdict =
                judgeLink(info.st_uid, folderInfo.st_uid, folderInfo.st_mode, user_);
            if (verdict != LinkVerdict::Follow && !refused) {
                const std::string folder = folderName(dir, walked);
                refused = refuse(folder, joinName(folder, part), info, folderInfo, verdict);
                if (namedDir < 0) {
                    ::close(dir);
                    return *refused;
                }
            }
            const std::string target = readLinkAt(dir, part);
            if (target.empty()) {
                return stop(errno != 0 ? errno : ENOENT);
            }
            prependParts(rest, target);
            if (target.front() == '/') {
                const int root = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
                if (root < 0) {
                    return stop(errno);
                }
                ::close(dir);
                dir = root;
                walked.clear();
            }
            continue;
        }
        if (!last) {
            if (!S_ISDIR(info.st_mode)) {
                return stop(ENOTDIR);
            }
            const int next =
                ::openat(dir, part.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
            if (next < 0) {
                return stop(errno);
            }
            ::close(dir);
            dir = next;
            walked = joinName(walked, part);
            continue;
        }
        if (namedDir >= 0) {
            ::close(namedDir);
        }
        if (refused) {
            ::close(dir);
            return *refused;
        }
        exists = true;
        entry = info;
        finish(dir, walked, part);
        return {};
    }
    // The path ends in ".", ".." or "/": it names a folder.
    if (namedDir >= 0) {
        ::close(namedDir);
    }
    ::close(dir);
    if (refused) {
        return *refused;
    }
    return fail(Step::Folder, EISDIR);
}

Status AtomicFile::open(const std::string& path) {
    discard();
    path_ = path;
    target_.clear();
    folder_.clear();
    followNamed_ = false;
    failedStep_ = Step::None;
    failedErrno_ = 0;
    if (path.empty()) {
        failedStep_ = Step::Name;
        failedErrno_ = ENOENT;
        return Error{errorCode(ENOENT), "Cannot write a file without a name"};
    }
    struct stat existing {};
    bool exists = false;
    if (Status resolved = resolve(path, existing, exists); !resolved) {
        return resolved;
    }
    if (exists) {
        if (S_ISDIR(existing.st_mode)) {
            discard();
            return fail(Step::Folder, EISDIR);
        }
        if (!S_ISREG(existing.st_mode)) {
            return openSpecial();
        }
        // Refused as an ordinary write into the file would be.
        if (::faccessat(dirFd_, target_.c_str(), W_OK, 0) != 0) {
            const int err = errno;
            discard();
            return fail(Step::ReadOnly, err);
        }
    }
    if (newFile_ == NewFile::AnonymousWherePossible) {
        // Without a name nobody else can reach the file, so it may get its final mode at once.
        fd_ = ::openat(dirFd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
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
            removeAbandonedOnce(dirFd_, folder_);
        }
    }
    if (fd_ < 0) {
        // Any failure of the anonymous file (a file system without them, a folder we may not
        // write) is met again, with the same reason, by the named one.
        removeAbandonedIn(dirFd_, target_);
        fd_ = createNamed();
        if (fd_ < 0) {
            const int err = errno;
            temp_.clear();
            discard();
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
int AtomicFile::createNamed() {
    int fd = -1;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = tempName(target_);
        fd = ::openat(dirFd_, temp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                      0600);
        if (fd >= 0 || errno != EEXIST) {
            break;
        }
    }
    return fd;
}

// Links the anonymous file into the folder under a fresh name. Returns 0 or the errno.
int AtomicFile::giveName() {
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    int err = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp_ = tempName(target_);
        if (::linkat(AT_FDCWD, self.c_str(), dirFd_, temp_.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            (errno == ENOENT && ::linkat(fd_, "", dirFd_, temp_.c_str(), AT_EMPTY_PATH) == 0)) {
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
    const int dirFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        removeAbandonedIn(dirFd, name);
        ::close(dirFd);
    }
}

void AtomicFile::removeAbandonedIn(int folderFd, const std::string& name) {
    const std::string prefix = tempPrefix(name);
    const std::string_view target = std::string_view(prefix).substr(1, prefix.size() - 2);
    const std::time_t before = std::time(nullptr) - kAbandonedAfterSeconds;
    forEachEntry(folderFd, [&](int dirFd, const char* entry) {
        if (!target.empty() && targetOf(entry) == target) {
            removeIfAbandoned(dirFd, entry, before);
        }
    });
}

void AtomicFile::removeAbandonedBesideTargets(const std::string& folder) {
    const int dirFd = ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        removeAbandonedBesideTargets(dirFd);
        ::close(dirFd);
    }
}

void AtomicFile::removeAbandonedBesideTargets(int folderFd) {
    const std::time_t before = std::time(nullptr) - kAbandonedAfterSeconds;
    forEachEntry(folderFd, [&](int dirFd, const char* entry) {
        const std::string target(targetOf(entry));
        struct stat info {};
        if (!target.empty() && ::fstatat(dirFd, target.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
            removeIfAbandoned(dirFd, entry, before);
        }
    });
}

void AtomicFile::removeAbandonedOnce(int dirFd, const std::string& folder) {
    static std::mutex guard;
    static std::set<std::string> swept;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (!swept.insert(folder).second) {
            return;
        }
    }
    removeAbandonedBesideTargets(dirFd);
}

Status AtomicFile::openSpecial() {
    // Without O_NONBLOCK a pipe nobody reads would hold the open here for good; with it the open
    // fails at once. Writes then block again as usual.
    fd_ = ::openat(
        dirFd_, target_.c_str(),
        O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (followNamed_ ? 0 : O_NOFOLLOW));
    if (fd_ < 0) {
        const int err = errno;
        discard();
        return fail(Step::Open, err);
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
        if (const int err = giveName(); err != 0) {
            status = fail(Step::Rename, err);
        }
    }
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && status.ok()) {
        status = fail(Step::Write, errno);
    }
    if (status.ok() && replacing) {
        if (::renameat(dirFd_, temp_.c_str(), dirFd_, target_.c_str()) != 0) {
            status = fail(Step::Rename, errno);
        } else {
            temp_.clear();
            syncFolder(dirFd_);
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
        ::unlinkat(dirFd_, temp_.c_str(), 0);
        temp_.clear();
    }
    if (dirFd_ >= 0) {
        ::close(dirFd_);
        dirFd_ = -1;
    }
    kind_ = Kind::None;
}

}  // namespace tess
