// The graphics library reader takes any bytes: it must end, stay inside its input, keep no record
// whose name could leave the library, and what it reads must survive being written and read again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "projects/GraphicsLibrary.h"

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// Every record kept is sound, and writing the records and reading them back gives them again.
void checkRecords(const std::vector<tess::LibraryRecord>& records) {
    for (const tess::LibraryRecord& record : records)
        require(tess::isSafeRecordName(record.name));
    const tess::Result<std::string> file = tess::writeLibrary(records);
    require(file.ok());
    const tess::Result<std::vector<tess::LibraryRecord>> back = tess::readLibrary(file.value());
    require(back.ok() && back.value() == records);
    for (const tess::LibraryRecord& listed : tess::listedPictures(records))
        require(listed.data.size() + 2 <= tess::library::kMaxListedFileSize);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    // The bytes as a decoded body: its records lie inside it.
    const std::vector<tess::LibraryRecord> body = tess::parseRecords(bytes);
    std::size_t total = 0;
    for (const tess::LibraryRecord& record : body)
        total += record.data.size();
    require(total <= size);
    checkRecords(body);
    // The bytes as a whole library file.
    const tess::Result<std::vector<tess::LibraryRecord>> read = tess::readLibrary(bytes);
    if (read)
        checkRecords(read.value());
    return 0;
}
