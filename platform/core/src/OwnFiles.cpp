#include "platform/OwnFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/AtomicFile.h"

namespace tess {

namespace {

Error writeError(const std::string& path, int err) {
    return Error{AtomicFile::errorCode(err),
                 "Cannot write \"" + path + "\": " + std::generic_category().message(err)};
}

Error notOwnFile(const std::string& path, const char* why) {
    return Error{errc::PermissionDenied, "Cannot write \"" + path + "\": " + why};
}

// A link or a node that is not a regular file at the name is left alone.
Status checkName(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? Status{} : Status{writeError(path, errno)};
    if (S_ISLNK(st.st_mode))
        return notOwnFile(path, "a symbolic link stands at its name");
    if (!S_ISREG(st.st_mode))
        return notOwnFile(path, "it is not a regular file");
    return {};
}

int writeAndClose(int fd, std::string_view bytes) {
    int err = AtomicFile::writeAll(fd, bytes);
    if (::close(fd) != 0 && err == 0)
        err = errno;
    return err;
}

}  // namespace

bool isLink(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

Status writeOwnFile(const std::string& path, std::string_view bytes) {
    if (Status name = checkName(path); !name)
        return name;
    // A new file of our own beside the old one; anything standing at its name goes first (unlink
    // never follows a link), and one that will not go makes the create fail instead of opening it.
    const std::string temp = path + ".new~";
    (void)::unlink(temp.c_str());
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return writeError(path, errno);
    if (const int err = writeAndClose(fd, bytes); err != 0) {
        (void)::unlink(temp.c_str());
        return writeError(path, err);
    }
    // A rename replaces whatever entry is at the name, a link included, never a link's target.
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        (void)::unlink(temp.c_str());
        return writeError(path, err);
    }
    return {};
}

Status appendOwnFile(const std::string& path, std::string_view bytes) {
    const int fd = ::open(
        path.c_str(),
        O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int err = errno;
        return err == ELOOP ? notOwnFile(path, "a symbolic link stands at its name")
                            : writeError(path, err);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return notOwnFile(path, "it is not a regular file of this user's");
    }
    if (const int err = writeAndClose(fd, bytes); err != 0)
        return writeError(path, err);
    return {};
}

}  // namespace tess
