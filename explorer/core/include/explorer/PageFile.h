#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "explorer/PageStamp.h"
#include "platform/Result.h"

namespace tess::explorer {

// A page file open for reading, by one descriptor: what it is (its stamp), its bytes and the
// creation time a user sees for it are all taken from that descriptor, so they belong to one file
// even when its name is given to another one meanwhile.
class PageFile {
  public:
    // The extended attribute in which a save keeps the page's creation time, since the save
    // makes a new file: "<seconds since 1970>.<nine digits of nanoseconds>".
    static constexpr const char* kCreatedAttribute = "user.tessaryn.created";

    PageFile() = default;
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;
    ~PageFile();

    // Opens a regular file; anything else (a folder, pipe or device) is refused at once, without
    // waiting on a writer. A symbolic link is followed only with `followLinks` (and the stamp then
    // says so); without it, a link is refused. Errors name the path; failedErrno() tells why
    // (ENOENT, ELOOP for a link, EISDIR or ENODEV for what is no regular file, or the system's).
    Status open(const std::string& path, bool followLinks);
    bool isOpen() const { return fd_ >= 0; }
    int failedErrno() const { return failedErrno_; }

    // The file as it was when opened.
    const PageStamp& stamp() const { return stamp_; }
    // The file as it is now, by its descriptor.
    Result<PageStamp> restamp() const;
    // Whether `path` still leads to this file (through a link only when it did at the open).
    bool isAt(const std::string& path) const;

    // Up to `size` bytes from `offset` into `into`; fewer only at the end of the file.
    Result<std::size_t> readAt(std::uint64_t offset, char* into, std::size_t size) const;
    // The first `maxBytes` bytes (all of them when the file is shorter).
    Result<std::string> head(std::size_t maxBytes) const;

    // The creation time a user sees: the one a save kept in kCreatedAttribute, else the file
    // system's creation time, else the last modification. Nothing when none can be read.
    std::optional<PageStamp::Time> created() const;
    // Keeps `time` as the file's creation time (kCreatedAttribute). False where the file system
    // keeps no such attributes or refuses them; the file is unchanged then.
    bool keepCreated(const PageStamp::Time& time) const;

  private:
    Error fail(int err, const char* what);

    std::string path_;
    int fd_ = -1;
    int failedErrno_ = 0;
    PageStamp stamp_;
};

}  // namespace tess::explorer
