#include "workspace/UndoStore.h"

#include <cerrno>
#include <cstdio>
#include <system_error>
#include <utility>

#include "platform/Bmp.h"
#include "platform/PrivateFile.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"

namespace tess {

namespace {

// The undo files hold plain bitmaps, so the colour for transparent pixels never shows.
constexpr Colour kUndoBackColour = 0xFFFFFF;

// Without a private folder there is nowhere safe for the copies: undo is simply unavailable.
Error noFolder() {
    return Error{errc::PathNotFound, "there is no folder for the undo copy"};
}

// The picture as the private file at `path`, written over our own file of the last save in
// place, with no sync: the file is deleted at shut-down and need not outlive a crash, and one cut
// short by a crash is no bitmap (the bitmap's mark comes last).
Status writeBitmap(const Picture& picture, const std::string& path) {
    PrivateFile file;
    if (Status s = file.open(path); !s) {
        return s;
    }
    if (const int err = writeBmp24(file.fd(), picture); err != 0) {
        return file.fail(err);
    }
    return file.commit();
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
    if (folder_.empty()) {
        return noFolder();
    }
    // Withdrawn until the new copy is whole, also when the write ends in an exception.
    withdrawn_ = true;
    Status saved = writeBitmap(picture, undoPath());
    withdrawn_ = !saved;
    return saved;
}

bool UndoStore::hasUndo() const {
    return !folder_.empty() && !withdrawn_ && PrivateFile::isOwnFile(undoPath());
}

Result<Picture> UndoStore::swap(const Picture& current) {
    if (folder_.empty()) {
        return noFolder();
    }
    const std::string undo = undoPath();
    const std::string redo = swapPath();
    if (!hasUndo()) {
        return Error{errc::FileNotFound, "there is nothing to undo (\"" + undo + "\" is missing)"};
    }
    Result<Picture> saved = [&]() -> Result<Picture> {
        Result<std::string> bytes = PrivateFile::read(undo);
        if (!bytes) {
            return bytes.error();
        }
        return decodePicture(*bytes, kUndoBackColour);
    }();
    if (!saved) {
        return saved.error();
    }
    // A swap file left by an earlier run that ended half-way is replaced.
    if (Status s = writeBitmap(current, redo); !s) {
        return s.error();
    }
    if (std::rename(redo.c_str(), undo.c_str()) != 0) {
        const int err = errno;
        (void)PrivateFile::remove(redo);
        return Error{errc::Generic, "\"" + redo + "\" cannot replace \"" + undo + "\" (" +
                                        std::generic_category().message(err) + ")"};
    }
    withdrawn_ = false;
    return saved;
}

void UndoStore::deleteFiles() {
    withdrawn_ = true;
    if (folder_.empty()) {
        return;
    }
    (void)PrivateFile::remove(undoPath());
    (void)PrivateFile::remove(swapPath());
}

}  // namespace tess
