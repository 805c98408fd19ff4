#include "workspace/EditMenu.h"

#include <string>

namespace tess {

EditMenuState editMenuState(int tab, bool undoFileExists, bool copyIsImage,
                            bool clipboardHasPicture) {
    const bool firstTab = tab == kSelectImageTab;
    return {firstTab && undoFileExists, firstTab && copyIsImage, clipboardHasPicture};
}

ImagePopupState imagePopupState(bool clipboardHasPicture) {
    return {true, clipboardHasPicture};
}

void copyPictureToClipboard(Clipboard& clipboard, const Picture& drawnImage) {
    clipboard.clear();
    clipboard.setPicture(drawnImage);
}

Result<Picture> takeClipboardPicture(const Clipboard& clipboard) {
    if (auto picture = clipboard.picture()) {
        return std::move(*picture);
    }
    return Error{errc::InvalidPicture, "The clipboard holds no picture that can be read."};
}

Message pasteErrorMessage(int errorNumber) {
    return {"Error while pasting clipboard data!", mb::Exclamation,
            "Error #" + std::to_string(errorNumber)};
}

}  // namespace tess
