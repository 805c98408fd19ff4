#include "platform/testing/TempFolder.h"

#include <stdlib.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace tess::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder(std::string_view prefix) {
    std::string pattern = (fs::temp_directory_path() / (std::string(prefix) + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    }
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    // Each entry gets its rights back before the walk steps into it.
    std::error_code walk;
    for (auto it = fs::recursive_directory_iterator(path_, walk); !walk && it != fs::end(it);
         it.increment(walk)) {
        // A link is not followed: its target may lie outside the folder.
        if (!it->is_symlink(ignored)) {
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        }
    }
    fs::remove_all(path_, ignored);
}

std::string TempFolder::file(std::string_view name) const {
    return (fs::path(path_) / name).string();
}

std::vector<std::string> TempFolder::names() const {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(path_)) {
        found.push_back(entry.path().filename().string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

bool TempFolder::has(std::string_view name) const {
    return fs::exists(fs::path(path_) / name);
}

std::string TempFolder::write(std::string_view name, std::string_view bytes) const {
    const std::string full = file(name);
    writeFileContents(full, bytes);
    return full;
}

std::string readFileContents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeFileContents(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace tess::testing
