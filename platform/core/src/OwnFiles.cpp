#include "platform/OwnFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/PrivateFile.h"

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

// The new file's failure told as the failure to write the file it stands for.
Error writeError(const std::string& path, const std::string& temp, Error cause) {
    const std::string quoted = "\"" + temp + "\"";
    if (const std::size_t at = cause.reason.find(quoted); at != std::string::npos)
        cause.reason.replace(at, quoted.size(), "\"" + path + "\"");
    return cause;
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
    // The new file is private and made fresh beside the old one; a rename then replaces whatever
    // entry is at the name, never a link's target.
    const std::string temp = path + ".new~";
    PrivateFile file;
    if (Status made = file.create(temp); !made)
        return writeError(path, temp, made.error());
    if (Status written = file.write(bytes); !written)
        return writeError(path, temp, written.error());
    if (Status closed = file.commit(); !closed) {
        (void)PrivateFile::remove(temp);
        return writeError(path, temp, closed.error());
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        (void)PrivateFile::remove(temp);
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
