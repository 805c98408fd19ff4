#include "platform/FolderListing.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/Runtime.h"

namespace tess {

namespace fs = std::filesystem;

bool matchesListPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*" || pattern == "*.*")
        return true;
    if (pattern.size() < 3 || pattern.substr(0, 2) != "*.")
        return false;
    std::string wanted = rt::toLower(pattern.substr(2));
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos)
        return false;
    const std::string extension = rt::toLower(name.substr(dot + 1));
    if (wanted.size() > 1 && wanted.back() == '*') {
        wanted.pop_back();
        return extension.compare(0, wanted.size(), wanted) == 0;
    }
    if (extension == wanted)
        return true;
    return wanted.size() == 3 && extension.size() > 3 && extension.compare(0, 3, wanted) == 0;
}

bool listOrderLess(std::string_view a, std::string_view b) {
    const std::string la = rt::toLower(a);
    const std::string lb = rt::toLower(b);
    return la != lb ? la < lb : a < b;
}

Result<std::vector<std::string>> listFolder(const std::string& folder, std::string_view pattern) {
    std::error_code error;
    fs::directory_iterator it(fs::path(folder.empty() ? "." : folder), error);
    if (error) {
        const bool missing =
            error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory;
        return Error{missing ? errc::PathNotFound : errc::Generic,
                     "Cannot list " + folder + ": " + error.message()};
    }
    std::vector<std::string> names;
    for (const fs::directory_iterator end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (name.empty() || name[0] == '.' || !matchesListPattern(name, pattern))
            continue;
        names.push_back(std::move(name));
    }
    if (error)
        return Error{errc::Generic, "Cannot list " + folder + ": " + error.message()};
    std::sort(names.begin(), names.end(), listOrderLess);
    return names;
}

}  // namespace tess
