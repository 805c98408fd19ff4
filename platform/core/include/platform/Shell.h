#pragma once

#include <string>

#include "platform/Result.h"

namespace tess {

// The desktop shell: opening documents and addresses, starting programs, deleting files.
class Shell {
  public:
    virtual ~Shell() = default;
    // Opens a document or web address with its default application.
    virtual Status open(const std::string& target) = 0;
    // Opens a local file with its default application. The path is always a file's, also one that
    // reads like an address ("mailto:x.html" in the working folder).
    virtual Status openFile(const std::string& path) = 0;
    // Starts a program with exactly one argument (passed as one argument, never split).
    virtual Status start(const std::string& program, const std::string& argument) = 0;
    // Deletes one regular file, to the trash or for good. A path is never read as a pattern.
    virtual Status deleteFile(const std::string& path, bool toTrash) = 0;
};

}  // namespace tess
