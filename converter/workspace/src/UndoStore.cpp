#include "workspace/UndoStore.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/Bmp.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"

namespace tess {

namespace {

namespace fs = std::filesystem;

// The undo files hold plain bitmaps, so the colour for transparent pixels never shows.
constexpr Colour kUndoBackColour = 0xFFFFFF;

fs::path nativePath(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

bool isFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(nativePath(path), ec);
}

bool exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(nativePath(path), ec));
}

// Removes the file if it is there; a missing file is no error.
Status removeIfPresent(const std::string& path) {
    std::error_code ec;
    fs::remove(nativePath(path), ec);
    if (ec && exists(path)) {
        return Error{errc::PermissionDenied,
                     "\"" + path + "\" cannot be deleted (" + ec.message() + ")"};
    }
    return {};
}

// Without a private folder there is nowhere safe for the copies: undo is simply unavailable.
Error noFolder() {
    return Error{errc::PathNotFound, "there is no folder for the undo copy"};
}

}  // namespace

UndoStore::UndoStore(std::string folder) : folder_(std::move(folder)) {}

std::string UndoStore::undoPath() const {
    return joinPath(folder_, kUndoFileName);
}

std::string UndoStore::swapPath() const {
    return joinPath(folder_, kSwapFileName);
}

Status UndoStore::save(const Picture& picture) {
    if (folder_.empty())
        return noFolder();
    // An old copy must not outlive a failed save: undo would bring back a picture from further
    // back than the user expects.
    const std::string path = undoPath();
    Status removed = removeIfPresent(path);
    Status saved = savePictureFileBmp(picture, path);
    if (saved || removed) {
        return saved;
    }
    return removed;  // the cause of both failures
}

bool UndoStore::hasUndo() const {
    return !folder_.empty() && isFile(undoPath());
}

Result<Picture> UndoStore::swap(const Picture& current) {
    if (folder_.empty())
        return noFolder();
    const std::string undo = undoPath();
    const std::string redo = swapPath();
    if (!isFile(undo)) {
        return Error{errc::FileNotFound, "there is nothing to undo (\"" + undo + "\" is missing)"};
    }
    Result<Picture> saved = loadPictureFile(undo, kUndoBackColour);
    if (!saved) {
        return saved.error();
    }
    // A swap file left by an earlier run that ended half-way is of no use.
    if (Status s = removeIfPresent(redo); !s) {
        return s.error();
    }
    if (Status s = savePictureFileBmp(current, redo); !s) {
        return s.error();
    }
    std::error_code ec;
    fs::rename(nativePath(redo), nativePath(undo), ec);
    if (ec) {
        (void)removeIfPresent(redo);
        return Error{errc::Generic,
                     "\"" + redo + "\" cannot replace \"" + undo + "\" (" + ec.message() + ")"};
    }
    return saved;
}

void UndoStore::deleteFiles() {
    if (folder_.empty())
        return;
    (void)removeIfPresent(undoPath());
    (void)removeIfPresent(swapPath());
}

}  // namespace tess
