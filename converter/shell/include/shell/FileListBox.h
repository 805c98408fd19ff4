#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Result.h"

namespace tess {

// A list of the files of one folder that match a pattern, never shown: the main window's `File1`.
// The names are sorted without regard to letter case; folders and hidden files are left out.
class FileListBox {
  public:
    // Lists the folder. A folder that does not exist gives errc::PathNotFound and leaves the list
    // as it was; one that cannot be read is taken with an empty list and gives its error.
    Status setPath(const std::string& folder);
    const std::string& path() const { return path_; }

    // "*.htm", "*.tgl", "*" or "*.*". Changing the pattern lists the folder again.
    void setPattern(std::string pattern);
    const std::string& pattern() const { return pattern_; }

    // Reads the folder again.
    void refresh();

    int listCount() const { return static_cast<int>(names_.size()); }
    const std::vector<std::string>& names() const { return names_; }
    // The names, or the error of the last listing when the folder could not be read.
    Result<std::vector<std::string>> listing() const;

    // Letter case is ignored. "*.abc" also takes longer extensions that begin with "abc", as the
    // short names of such files end in ".ABC": "*.htm" lists ".html" pages too.
    static bool matches(std::string_view name, std::string_view pattern);

  private:
    void keep(Result<std::vector<std::string>> listed);

    std::string path_;
    std::string pattern_ = "*.*";
    std::vector<std::string> names_;
    Status listed_;
};

}  // namespace tess
