#include "platform/PrivateFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>
#include <system_error>

#include "platform/AtomicFile.h"
#include "platform/ReadFully.h"

namespace tess {

namespace {

Error fileError(const char* what, const std::string& path, int err) {
    return Error{AtomicFile::errorCode(err),
                 std::string(what) + " \"" + path + "\": " + std::generic_category().message(err)};
}

bool ownRegular(const struct stat& st) {
    return S_ISREG(st.st_mode) && st.st_uid == ::geteuid();
}

}  // namespace

PrivateFile::~PrivateFile() {
    discard();
}

Status PrivateFile::create(const std::string& path) {
    discard();
    path_ = path;
    // What cannot be removed (a folder, another user's entry in a sticky folder) stays, and the
    // exclusive create below refuses it.
    (void)::unlink(path.c_str());
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd_ < 0) {
        return fileError("Cannot write", path, errno);
    }
    return {};
}

Status PrivateFile::open(const std::string& path) {
    discard();
    path_ = path;
    // Non-blocking, so that a pipe at the name fails the open instead of waiting for a reader.
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd >= 0) {
        struct stat st {};
        if (::fstat(fd, &st) == 0 && ownRegular(st) && st.st_nlink == 1 &&
            (st.st_mode & 07777) == 0600) {
            fd_ = fd;
            return {};
        }
        ::close(fd);
    }
    return create(path);
}

Status PrivateFile::write(std::string_view bytes) {
    if (fd_ < 0) {
        return fileError("Cannot write", path_, EBADF);
    }
    if (const int err = AtomicFile::writeAll(fd_, bytes); err != 0) {
        return fail(err);
    }
    return {};
}

Error PrivateFile::fail(int err) {
    discard();
    return fileError("Cannot write", path_, err);
}

Status PrivateFile::commit() {
    if (fd_ < 0) {
        return fileError("Cannot write", path_, EBADF);
    }
    // No sync: these files are deleted again and need not outlive a crash.
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) {
        const int err = errno;
        (void)::unlink(path_.c_str());
        return fileError("Cannot write", path_, err);
    }
    return {};
}

void PrivateFile::discard() {
    if (fd_ < 0) {
        return;
    }
    ::close(fd_);
    fd_ = -1;
    // Made by create() with O_EXCL, or found by open() as a file of our own and no one else's.
    (void)::unlink(path_.c_str());
}

bool PrivateFile::isOwnFile(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && ownRegular(st);
}

Result<std::string> PrivateFile::read(const std::string& path) {
    // Non-blocking, so that a pipe put at the name does not make the open wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int err = errno;
        Error error = fileError("Cannot read", path, err);
        if (err == ENOENT) {
            error.code = errc::FileNotFound;
        }
        return error;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !ownRegular(st)) {
        ::close(fd);
        return Error{errc::PermissionDenied,
                     "Cannot read \"" + path + "\": not a regular file of this user"};
    }
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(st.st_size));
    } catch (const std::bad_alloc&) {
        ::close(fd);
        return fileError("Cannot read", path, ENOMEM);
    } catch (const std::length_error&) {
        ::close(fd);
        return fileError("Cannot read", path, ENOMEM);
    }
    std::size_t got = 0;
    if (const int err = readFully(fd, bytes.data(), bytes.size(), got); err != 0) {
        ::close(fd);
        return fileError("Cannot read", path, err);
    }
    ::close(fd);
    // A file that shrank since it was measured is read as far as it goes; the reader of its
    // contents tells whether that is whole.
    bytes.resize(got);
    return bytes;
}

Status PrivateFile::remove(const std::string& path) {
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
        return fileError("Cannot delete", path, errno);
    }
    return {};
}

}  // namespace tess
