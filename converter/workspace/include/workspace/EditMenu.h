#pragma once

#include <string_view>

#include "platform/Clipboard.h"
#include "platform/Picture.h"
#include "platform/Result.h"
#include "workspace/Message.h"

namespace tess {

// SSTab1's first tab, " 1. Select an Image ": the only one on which undo and copy act.
inline constexpr int kSelectImageTab = 0;

struct EditMenuState {
    bool undoEnabled = false;   // mnuUndo
    bool copyEnabled = false;   // mnuCopy
    bool pasteEnabled = false;  // mnuPaste
    bool operator==(const EditMenuState&) const = default;
};

// mnuEdit_Click: undo on the first tab with an undo file, copy on the first tab while CopyIsImage
// is set (the cursor is not in Text1), paste on any tab while the clipboard offers a picture.
EditMenuState editMenuState(int tab, bool undoFileExists, bool copyIsImage,
                            bool clipboardHasPicture);

struct ImagePopupState {
    bool copyEnabled = true;    // mnuCopyImage
    bool pasteEnabled = false;  // mnuPasteImage
    bool operator==(const ImagePopupState&) const = default;
};

// mnuHIDImage_Click.
ImagePopupState imagePopupState(bool clipboardHasPicture);

// mnuCopyImage_Click: the picture as drawn on srcPic, in its current size, replaces whatever the
// clipboard held.
void copyPictureToClipboard(Clipboard& clipboard, const Picture& drawnImage);

// The clipboard's picture for a paste, taken before anything changes. Without a readable picture
// the error carries the number that the paste message shows.
Result<Picture> takeClipboardPicture(const Clipboard& clipboard);
Message pasteErrorMessage(int errorNumber);

}  // namespace tess
