#pragma once

#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// A file the programs make for themselves and delete again (the undo copies): it is never reached
// through a symbolic link, in whatever folder it lies, and only its owner may read or write it.
// Another user who places a link at its name in a shared folder can make a write fail, never
// redirect it.
//
// Errors carry the code AtomicFile::errorCode gives the system's reason and name the path.
class PrivateFile {
  public:
    PrivateFile() = default;
    PrivateFile(const PrivateFile&) = delete;
    PrivateFile& operator=(const PrivateFile&) = delete;
    ~PrivateFile();  // removes a file that was not committed

    // Removes whatever entry stands at `path` (a link itself, never what it points at; a folder
    // stays), then makes a new file there, mode 0600, that nothing else can be at: an entry that
    // could not be removed makes this fail. Discards whatever was open before.
    Status create(const std::string& path);
    // Opens the file of this user's at `path` (a regular file, mode 0600, no other name) to be
    // written over in place, so the system keeps its memory; anything else at the name is
    // replaced as create() replaces it. A write over a file in place leaves old bytes after the
    // new ones and, where it stops half-way, a mix of both: the writer must say which bytes count.
    Status open(const std::string& path);
    Status write(std::string_view bytes);
    // For writers that hand the open file to a system call of their own; fail() takes their errno.
    int fd() const { return fd_; }
    // Discards the file and gives the error for `err`.
    Error fail(int err);
    // Closes the file and leaves it in place.
    Status commit();
    // Closes and removes the file.
    void discard();

    // Whether a regular file of this user stands at `path` itself (a link is not followed).
    static bool isOwnFile(const std::string& path);
    // The whole file at `path`, which must be a regular file of this user reached without a link.
    static Result<std::string> read(const std::string& path);
    // Removes the entry at `path` (a link itself); a missing entry is no error, a folder is one.
    static Status remove(const std::string& path);

  private:
    std::string path_;
    int fd_ = -1;
};

}  // namespace tess
