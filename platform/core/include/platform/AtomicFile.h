#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/Result.h"

namespace tess {

// A file written so that a failure never destroys what was there: the bytes go to a new file
// beside the target, which takes the target's place only in commit(). Where the file system has
// anonymous files the new file has no name until commit() gives it one ("~<name>.<8 hex digits>")
// and at once renames it over the target, so a writer that is killed leaves nothing behind.
// Elsewhere the new file has that name from the start, made for its owner alone, and each open
// removes what killed writers of the same target left (see removeAbandoned()).
// The new file keeps the replaced one's permissions and owner. A symbolic link is followed, each
// link of a chain and each link on the way to a folder judged by judgeLink(): the file it points
// at is replaced and the link stays. A link that may not be followed refuses the open before
// anything is made. A link that leads nowhere is replaced itself. A pipe, device or socket at the
// path is written into instead, since replacing it would destroy the node; a pipe that nobody reads
// fails the open at once instead of waiting for a reader.
//
// Errors carry the code for the system's reason and read `Cannot write "<path>": <reason>`; a
// refused link's reason names the link, its owner and why its folder does not vouch for it.
// Callers that word their own messages read failedStep() and failedErrno(), and keep the reason
// of a refused link (Step::Link), which no errno tells.
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
        Link,      // a symbolic link on the way may not be followed
    };

    // Whether a symbolic link may be followed: one of this user or of root always; another user's
    // only where nobody but its folder's owner may write the folder (its mode gives no write to
    // group or others; ACLs are not read) and the link is that owner's. Otherwise whoever may
    // write the folder could have put the link there to turn a write at its name into one of
    // this user's own files.
    enum class LinkVerdict { Follow, FolderOpenToOthers, NotFolderOwners };
    static LinkVerdict judgeLink(uid_t linkOwner, uid_t folderOwner, mode_t folderMode, uid_t user);

    // Named: the new file always has its name from the start, as where the file system has no
    // anonymous files.
    enum class NewFile { AnonymousWherePossible, Named };

    explicit AtomicFile(NewFile newFile = NewFile::AnonymousWherePossible);
    // `user` is whom the links are judged for (the effective user by default), so a test can make
    // a link of its own stand for another user's.
    AtomicFile(NewFile newFile, uid_t user) : newFile_(newFile), user_(user) {}
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;
    ~AtomicFile();  // discards what was not committed

    // Refuses an empty path, a directory, a file that may not be written and a symbolic link that
    // may not be followed before anything is made. Discards whatever was open before.
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

    // Removes from `folder` the new files that writers of the target `name` left when they were
    // killed: only a plain file with a name this class gives that target, of this user, with no
    // other link, that no writer holds (a writer locks its new file while it lives) and that
    // nobody has written for kAbandonedAfterSeconds. Anything else is never touched. A writer
    // without anonymous files calls it at each open.
    static void removeAbandoned(const std::string& folder, const std::string& name);
    // The same for every target that is in the folder; a writer with anonymous files calls it at
    // its first open in a folder.
    static void removeAbandonedBesideTargets(const std::string& folder);
    static constexpr long kAbandonedAfterSeconds = 5 * 60;

  private:
    // What fd_ is.
    enum class Kind { None, Special, Anonymous, Named };

    static void removeAbandonedIn(int folderFd, const std::string& name);
    static void removeAbandonedBesideTargets(int folderFd);
    static void removeAbandonedOnce(int dirFd, const std::string& folder);
    Error fail(Step step, int err);
    Error refuse(const std::string& folder, const std::string& link, const struct stat& linkInfo,
                 const struct stat& folderInfo, LinkVerdict verdict);
    Status resolve(const std::string& path, struct stat& entry, bool& exists);
    Status openSpecial();
    int createNamed();
    int giveName();

    NewFile newFile_;
    uid_t user_;
    std::string path_;    // as the caller gave it, for messages
    int dirFd_ = -1;      // the folder of the file commit() replaces (symbolic links followed)
    std::string folder_;  // that folder's name
    std::string target_;  // the name of that file in its folder
    std::string temp_;    // the new file's name in that folder while it has one
    int fd_ = -1;
    // target_ is the named file's own link, which only the system can follow (see resolve()).
    bool followNamed_ = false;
    Kind kind_ = Kind::None;
    Step failedStep_ = Step::None;
    int failedErrno_ = 0;
};

}  // namespace tess
