#include "shell/RecentFiles.h"

#include <algorithm>

#include "platform/Files.h"

namespace tess {

bool recentEntryValid(const std::string& path) {
    return !path.empty() && IsFixedDrive(path) && FileExists(path);
}

std::vector<std::string> shownRecentFiles(const RecentSlots& stored, const RecentCheck& valid) {
    std::vector<std::string> shown;
    for (const std::string& entry : stored) {
        if (valid(entry))
            shown.push_back(entry);
    }
    return shown;
}

std::string recentCaption(int n, const std::string& path) {
    std::string caption = "&" + std::to_string(n) + ". ";
    for (char c : ShortFileName(path)) {
        caption += c;
        if (c == '&')
            caption += '&';
    }
    return caption;
}

std::optional<RecentSlots> addRecentFile(const RecentSlots& slots, const std::string& path,
                                         const RecentCheck& valid) {
    if (!valid(path))
        return std::nullopt;
    const bool known = std::find(slots.begin(), slots.end(), path) != slots.end();
    const std::vector<std::string> shown = shownRecentFiles(slots, valid);

    std::vector<std::string> list{path};
    if (known) {
        // The last shown position of the path; a path that is already newest changes nothing.
        const auto last = std::find(shown.rbegin(), shown.rend(), path);
        const auto at = last == shown.rend() ? shown.end() : std::prev(last.base());
        if (at == shown.begin())
            return std::nullopt;
        for (auto it = shown.begin(); it != shown.end(); ++it) {
            if (it != at)
                list.push_back(*it);
        }
    } else {
        list.insert(list.end(), shown.begin(), shown.end());
    }
    RecentSlots result{};
    for (std::size_t k = 0; k < result.size() && k < list.size(); ++k)
        result[k] = list[k];
    return result;
}

}  // namespace tess
