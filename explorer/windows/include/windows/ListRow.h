#pragma once

#include <cstdint>
#include <string>

#include "explorer/MosaicRow.h"

namespace tess::explorer {

// One mosaic of the list as the window keeps it: the row, the directory it was scanned from
// (saves, preview and delete act on that directory's file, whatever the directory list shows
// later), and the numbers its size and date sort by.
struct ListRow {
    MosaicRow row;
    std::string directory;  // ends with "/"
    double kilobytes = 0;
    std::int64_t createdKey = 0;  // the creation time as one sortable number

    std::string path() const { return directory + row.fileName; }
};

}  // namespace tess::explorer
