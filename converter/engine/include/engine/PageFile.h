#pragma once

#include <string>
#include <string_view>

#include "engine/PageSink.h"
#include "platform/AtomicFile.h"
#include "platform/Result.h"

namespace tess {

// A page file written safely through AtomicFile: the bytes go to a new file beside the target,
// which takes the target's place only in commit(), so a run that fails leaves an existing page as
// it was. A target that is not a regular file (a device such as /dev/null) is written directly.
// Errors name the target path and the system's reason.
class PageFile final : public PageSink {
  public:
    PageFile() = default;
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;
    ~PageFile() override;

    // Refuses a folder that does not exist, a directory and a read-only file before anything is
    // written.
    Status open(const std::string& path);
    Status write(std::string_view piece) override;
    // Writes what is still buffered, closes the file and puts it in place of the target.
    Status commit();
    // Closes and removes the new file; the target keeps what it had.
    void discard();

  private:
    Error failure(std::string_view action, int err) const;
    Error fileFailure() const;

    std::string path_;  // as the caller gave it, for messages
    AtomicFile file_;
    std::string pending_;
};

}  // namespace tess
