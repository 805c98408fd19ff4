#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tess::mounts {

// One line of /proc/self/mountinfo: where a file system is mounted, its type ("ext4", "nfs4",
// "fuse.sshfs") and its source ("/dev/sda1", "server:/export").
struct MountEntry {
    std::string mountPoint;
    std::string fsType;
    std::string source;
};

// Parses the mountinfo format; malformed lines are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// The mount an absolute, resolved path lies on: the longest mount point that is the path or one of
// its parents; of equal mount points the later (the one mounted on top) wins. Null when none fits.
const MountEntry* findMount(const std::vector<MountEntry>& mounts, std::string_view path);

// Local and permanently attached: not a network or remote file system (NFS, SMB/CIFS, FUSE
// remotes such as sshfs), not optical media, and not mounted under /media or /run/media, where
// desktops mount removable drives. RAM file systems (tmpfs) count as local.
bool isFixedMount(const MountEntry& mount);

}  // namespace tess::mounts
