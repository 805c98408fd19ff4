#include "shell/FileListBox.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Runtime.h"

namespace tess {

namespace fs = std::filesystem;

Status FileListBox::setPath(const std::string& folder) {
    std::error_code ec;
    if (!fs::is_directory(fs::path(folder), ec)) {
        return Error{errc::PathNotFound, "Path not found: " + folder};
    }
    path_ = folder;
    refresh();
    return {};
}

void FileListBox::setPattern(std::string pattern) {
    pattern_ = std::move(pattern);
    refresh();
}

bool FileListBox::matches(std::string_view name, std::string_view pattern) {
    if (pattern == "*" || pattern == "*.*")
        return true;
    if (pattern.size() < 3 || pattern.substr(0, 2) != "*.")
        return false;
    const std::string wanted = rt::toLower(pattern.substr(2));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension = rt::toLower(name.substr(dot + 1));
    if (extension == wanted)
        return true;
    return wanted.size() == 3 && extension.size() > 3 && extension.compare(0, 3, wanted) == 0;
}

void FileListBox::refresh() {
    names_.clear();
    if (path_.empty())
        return;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(path_), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.' || !matches(name, pattern_))
            continue;
        names_.push_back(std::move(name));
    }
    std::sort(names_.begin(), names_.end(), [](const std::string& a, const std::string& b) {
        const std::string la = rt::toLower(a);
        const std::string lb = rt::toLower(b);
        return la != lb ? la < lb : a < b;
    });
}

}  // namespace tess
