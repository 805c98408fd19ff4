#pragma once

#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// A file written so that a failure never destroys what was there: the bytes go to a new file
// beside the target ("~<name>.<8 hex digits>"), which takes the target's place only in commit().
// The new file keeps the replaced one's permissions and owner. A symbolic link is followed: the
// file it points at is replaced and the link stays. A pipe, device or socket at the path is
// written into instead, since replacing it would destroy the node; a pipe that nobody reads fails
// the open at once instead of waiting for a reader.
//
// Errors carry the code for the system's reason and read `Cannot write "<path>": <reason>`.
// Callers that word their own messages read failedStep() and failedErrno().
class AtomicFile {
  public:
    // What the last failure was doing.
    enum class Step {
        None,
        Name,      // the path is empty
        Folder,    // a directory is at the path
        Open,      // the pipe or device at the path would not open
        ReadOnly,  // the file at the path may not be written
        Create,    // the new file beside the target could not be made
        Write,     // writing or closing failed, or nothing was open
        Rename,    // the new file could not take the target's place
    };

    AtomicFile() = default;
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();  // discards what was not committed

    // Refuses an empty path, a directory and a file that may not be written before anything is
    // made. Discards whatever was open before.
    Status open(const std::string& path);
    // A failed write discards the file at once, so nothing half-written can be committed.
    Status write(std::string_view bytes);
    // Both pieces in order, in one system call where the system takes them whole.
    Status write(std::string_view first, std::string_view second);
    // Flushes the file to the disk, closes it and puts it in place of the target, then flushes the
    // folder, so after a crash the path holds the old file or the new one (a pipe or device is
    // only closed).
    Status commit();
    // Closes and removes the new file; the target keeps what it had.
    void discard();

    bool isOpen() const { return fd_ >= 0; }
    Step failedStep() const { return failedStep_; }
    int failedErrno() const { return failedErrno_; }

    // The error code for a create, write or rename that failed with `err`; the other writers of
    // files use it too, so one failure gets one code everywhere.
    static int errorCode(int err);
    // Writes every byte of `first`, then of `second`, retrying short and interrupted writes.
    // Returns 0 or the errno of the failure.
    static int writeAll(int fd, std::string_view first, std::string_view second = {});

  private:
    Error fail(Step step, int err);
    Status openSpecial();

    std::string path_;    // as the caller gave it, for messages
    std::string target_;  // the file commit() replaces (a symbolic link followed)
    std::string temp_;    // empty when writing into a pipe or device
    int fd_ = -1;
    Step failedStep_ = Step::None;
    int failedErrno_ = 0;
};

}  // namespace tess
