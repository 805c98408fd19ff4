#include "projects/StoredFile.h"

#include <sys/stat.h>

#include "platform/Text.h"

namespace tess {

Result<std::string> readStoredFile(const std::string& path, std::int64_t maxSize,
                                   std::string_view kind) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0)
        return readFileBytes(path);  // its error names the reason
    if (!S_ISREG(st.st_mode))
        return Error{errc::Generic, "\"" + path + "\" is not a file."};
    if (st.st_size > maxSize)
        return Error{errc::Generic, "\"" + path + "\" is too large for " + std::string(kind) + "."};
    return readFileBytes(path);
}

}  // namespace tess
