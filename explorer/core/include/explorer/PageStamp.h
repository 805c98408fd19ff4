#pragma once

#include <cstdint>

namespace tess::explorer {

// Which file a page is, as the system told when it was opened: a save rewrites a row's page only
// while its name still leads to the file the scan read, unchanged since.
struct PageStamp {
    // A point in time in the system's terms: seconds since 1970 (UTC) and nanoseconds.
    struct Time {
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        bool operator==(const Time&) const = default;
    };

    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    Time modified;
    // When the file was made, where the file system keeps it (else zero): a new file that got a
    // deleted one's number differs here.
    Time born;
    bool link = false;  // the name was a symbolic link to the file

    // The same file, whatever became of its content.
    bool sameFile(const PageStamp& other) const {
        const bool bothBorn = born.seconds != 0 && other.born.seconds != 0;
        return device == other.device && inode == other.inode && (!bothBorn || born == other.born);
    }
    // The same file with the same length and modification time.
    bool unchanged(const PageStamp& other) const {
        return sameFile(other) && size == other.size && modified == other.modified;
    }
};

}  // namespace tess::explorer
