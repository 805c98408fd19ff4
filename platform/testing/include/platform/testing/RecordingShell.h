#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Shell.h"

namespace tess::testing {

// A shell that records what it was asked to do and answers with prepared results (success unless
// a test sets a failure). deleteFile only records by default; with setRemovesFiles(true) it really
// removes the file (for good, whatever toTrash says), so a test can check what the caller does
// once the file is gone. A prepared failure always leaves the file in place.
class RecordingShell : public Shell {
  public:
    struct StartCall {
        std::string program;
        std::string argument;
    };
    struct DeleteCall {
        std::string path;
        bool toTrash = false;
    };

    Status open(const std::string& target) override;
    Status openFile(const std::string& path) override;
    Status start(const std::string& program, const std::string& argument) override;
    Status deleteFile(const std::string& path, bool toTrash) override;

    void setOpenResult(Status result) { openResult_ = std::move(result); }
    void setStartResult(Status result) { startResult_ = std::move(result); }
    void setDeleteResult(Status result) { deleteResult_ = std::move(result); }
    // A result for moves to the trash alone (a desktop without a trash); a permanent delete
    // keeps the delete result.
    void setTrashResult(Status result) { trashResult_ = std::move(result); }
    void setRemovesFiles(bool removes) { removesFiles_ = removes; }

    // Everything opened, by either call, in order.
    const std::vector<std::string>& opened() const { return opened_; }
    // What openFile() alone was given.
    const std::vector<std::string>& openedFiles() const { return openedFiles_; }
    const std::vector<StartCall>& started() const { return started_; }
    const std::vector<DeleteCall>& deleted() const { return deleted_; }

  private:
    Status openResult_;
    Status startResult_;
    Status deleteResult_;
    std::optional<Status> trashResult_;
    bool removesFiles_ = false;
    std::vector<std::string> opened_;
    std::vector<std::string> openedFiles_;
    std::vector<StartCall> started_;
    std::vector<DeleteCall> deleted_;
};

}  // namespace tess::testing
