#include "platform/testing/RecordingShell.h"

#include <filesystem>
#include <system_error>

namespace tess::testing {

Status RecordingShell::open(const std::string& target) {
    opened_.push_back(target);
    return openResult_;
}

Status RecordingShell::openFile(const std::string& path) {
    opened_.push_back(path);
    openedFiles_.push_back(path);
    return openResult_;
}

Status RecordingShell::start(const std::string& program, const std::string& argument) {
    started_.push_back({program, argument});
    return startResult_;
}

Status RecordingShell::deleteFile(const std::string& path, bool toTrash) {
    deleted_.push_back({path, toTrash});
    const Status& result = toTrash && trashResult_ ? *trashResult_ : deleteResult_;
    if (!result || !removesFiles_)
        return result;

    std::error_code ec;
    if (!std::filesystem::is_regular_file(std::filesystem::symlink_status(path, ec))) {
        return Error{errc::FileNotFound, "No file \"" + path + "\" to delete"};
    }
    if (!std::filesystem::remove(path, ec)) {
        return Error{errc::Generic, "Cannot delete \"" + path + "\": " + ec.message()};
    }
    return {};
}

}  // namespace tess::testing
