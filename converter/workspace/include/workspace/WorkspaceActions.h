#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Picture.h"
#include "workspace/Loading.h"
#include "workspace/Message.h"
#include "workspace/PictureChange.h"
#include "workspace/UndoStore.h"

namespace tess {

// A new working picture with what the picture-change rule writes beside it. The window assigns
// the picture to srcPic, sets Text4, Text1, ImageChanged and Label6, then runs DrawImageEdges and
// UpdateScrollBars.
struct PictureReplacement {
    Picture picture;
    PictureChange change;
    std::string statusText;  // Label6
};

// What a picture command ends with: a replacement to apply, or a message to show while everything
// stays as it was (never both).
struct PictureUpdate {
    std::optional<PictureReplacement> replacement;
    std::optional<Message> message;
};

// The load behind the open dialog and a confirmed picture drop. Every attempt saves `current` as
// the undo copy first, so after a file that is no picture the next undo brings back the picture
// still shown. The window sets ImagePath to `path` whatever comes back.
PictureUpdate loadPicture(const std::string& path, UndoStore& undo, const Picture& current);

// mnuPaste_Click: the clipboard's picture, taken before the undo copy is saved.
PictureUpdate pastePicture(const Clipboard& clipboard, UndoStore& undo, const Picture& current);

// mnuUndo_Click: the saved picture, with `current` saved for the redo. Empty when there was nothing
// to undo or the swap failed: the window then disables mnuUndo and keeps showing `current`.
std::optional<PictureReplacement> undoPicture(UndoStore& undo, const Picture& current);

// DragNDrop up to its question: shows the "Cannot Load Files" box for several files, asks "Load
// Image?" or "Load Custom Text?" for one file of the target's type, and gives back what to load
// when the answer was Yes (DropKind::Ignore otherwise).
DropRequest confirmDrop(Dialogs& dialogs, const std::vector<std::string>& files,
                        std::string_view targetWord);

}  // namespace tess
