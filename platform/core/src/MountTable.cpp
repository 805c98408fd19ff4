#include "platform/MountTable.h"

#include <algorithm>
#include <array>

namespace tess::mounts {

namespace {

// Mountinfo writes blanks, tabs, newlines and backslashes in paths as octal escapes (\040).
std::string unescapeOctal(std::string_view field) {
    const auto isOct = [](char c) { return c >= '0' && c <= '7'; };
    std::string out;
    out.reserve(field.size());
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && isOct(field[i + 1]) &&
            isOct(field[i + 2]) && isOct(field[i + 3])) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
            continue;
        }
        out += field[i];
    }
    return out;
}

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        while (pos < line.size() && line[pos] == ' ') {
            ++pos;
        }
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ') {
            ++pos;
        }
        if (pos > start) {
            fields.push_back(line.substr(start, pos - start));
        }
    }
    return fields;
}

bool underFolder(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return true;
    }
    return path.size() >= folder.size() && path.substr(0, folder.size()) == folder &&
           (path.size() == folder.size() || path[folder.size()] == '/');
}

constexpr std::array<std::string_view, 16> kNetworkTypes = {
    "nfs", "nfs4", "cifs", "smb3", "smbfs",     "smb",    "ncpfs", "ncp",
    "afs", "coda", "ceph", "9p",   "glusterfs", "lustre", "davfs", "sshfs",
};

// FUSE file systems that sit on local storage; every other FUSE mount (sshfs, rclone, gvfs, s3fs,
// ...) is taken as remote.
constexpr std::array<std::string_view, 7> kLocalFuse = {
    "fuse-overlayfs", "bindfs", "encfs", "gocryptfs", "mergerfs", "ntfs-3g", "exfat",
};

}  // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    std::size_t pos = 0;
    while (pos < text.size()) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const auto fields = splitFields(text.substr(pos, end - pos));
        pos = end + 1;
        // id parent major:minor root mount-point options [optional...] - type source super-options
        const auto dash = std::find(fields.begin(), fields.end(), std::string_view("-"));
        if (fields.size() < 6 || dash == fields.end() || dash - fields.begin() < 6 ||
            fields.end() - dash < 3) {
            continue;
        }
        mounts.push_back(
            MountEntry{unescapeOctal(fields[4]), unescapeOctal(dash[1]), unescapeOctal(dash[2])});
    }
    return mounts;
}

const MountEntry* findMount(const std::vector<MountEntry>& mounts, std::string_view path) {
    const MountEntry* best = nullptr;
    for (const MountEntry& m : mounts) {
        if (!underFolder(path, m.mountPoint)) {
            continue;
        }
        if (best == nullptr || m.mountPoint.size() >= best->mountPoint.size()) {
            best = &m;
        }
    }
    return best;
}

bool isFixedMount(const MountEntry& mount) {
    if (underFolder(mount.mountPoint, "/media") || underFolder(mount.mountPoint, "/run/media")) {
        return false;
    }
    const std::string_view type = mount.fsType;
    if (type == "iso9660" || type == "udf") {
        return false;
    }
    if (std::find(kNetworkTypes.begin(), kNetworkTypes.end(), type) != kNetworkTypes.end()) {
        return false;
    }
    if (type == "fuse" || type.substr(0, 5) == "fuse.") {
        const std::string_view subtype = type.size() > 5 ? type.substr(5) : std::string_view();
        return std::find(kLocalFuse.begin(), kLocalFuse.end(), subtype) != kLocalFuse.end();
    }
    return true;
}

}  // namespace tess::mounts
