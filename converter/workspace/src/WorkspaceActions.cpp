#include "workspace/WorkspaceActions.h"

#include <utility>

#include "workspace/EditMenu.h"

namespace tess {

namespace {

PictureReplacement replacement(Picture picture, PictureSource source, const std::string& path) {
    const std::string status = idleStatusText(picture.width(), picture.height());
    return {std::move(picture), pictureChange(source, path), status};
}

}  // namespace

PictureUpdate loadPicture(const std::string& path, UndoStore& undo, const Picture& current) {
    // Callers rely on the undo copy never failing visibly.
    (void)undo.save(current);
    PictureLoadResult loaded = loadPictureForWorkspace(path);
    if (!loaded.picture) {
        return {std::nullopt, std::move(loaded.error)};
    }
    return {replacement(std::move(*loaded.picture), PictureSource::File, path), std::nullopt};
}

PictureUpdate pastePicture(const Clipboard& clipboard, UndoStore& undo, const Picture& current) {
    Result<Picture> taken = takeClipboardPicture(clipboard);
    if (!taken) {
        return {std::nullopt, pasteErrorMessage(taken.error().code)};
    }
    (void)undo.save(current);
    return {replacement(std::move(taken).value(), PictureSource::Clipboard, {}), std::nullopt};
}

std::optional<PictureReplacement> undoPicture(UndoStore& undo, const Picture& current) {
    Result<Picture> swapped = undo.swap(current);
    if (!swapped) {
        return std::nullopt;
    }
    return replacement(std::move(swapped).value(), PictureSource::Undo, {});
}

DropRequest confirmDrop(Dialogs& dialogs, const std::vector<std::string>& files,
                        std::string_view targetWord) {
    DropRequest request = classifyDrop(files, targetWord);
    switch (request.kind) {
        case DropKind::Ignore:
            return request;
        case DropKind::TooManyFiles:
            showMessage(dialogs, request.message);
            return {};
        case DropKind::Picture:
        case DropKind::Text:
            if (showMessage(dialogs, request.message) != mb::Yes) {
                return {};
            }
            return request;
    }
    return {};
}

}  // namespace tess
