#include "shell/FileListBox.h"

#include "platform/FolderListing.h"

namespace tess {

Status FileListBox::setPath(const std::string& folder) {
    Result<std::vector<std::string>> listed = listFolder(folder, pattern_);
    if (!listed && listed.error().code == errc::PathNotFound)
        return listed.error();
    path_ = folder;
    keep(std::move(listed));
    return listed_;
}

void FileListBox::setPattern(std::string pattern) {
    pattern_ = std::move(pattern);
    refresh();
}

bool FileListBox::matches(std::string_view name, std::string_view pattern) {
    return matchesListPattern(name, pattern);
}

void FileListBox::refresh() {
    if (path_.empty()) {
        names_.clear();
        listed_ = {};
        return;
    }
    keep(listFolder(path_, pattern_));
}

Result<std::vector<std::string>> FileListBox::listing() const {
    if (!listed_)
        return listed_.error();
    return names_;
}

void FileListBox::keep(Result<std::vector<std::string>> listed) {
    if (listed) {
        names_ = std::move(listed).value();
        listed_ = {};
    } else {
        names_.clear();
        listed_ = listed.error();
    }
}

}  // namespace tess
