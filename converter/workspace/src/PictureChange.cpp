#include "workspace/PictureChange.h"

namespace tess {

PictureChange pictureChange(PictureSource source, std::string_view path) {
    switch (source) {
        case PictureSource::File:
            return {"Image From " + std::string(path), std::string(path), false};
        case PictureSource::Clipboard:
            return {"Image From Clipboard", "Using Clipboad Image", true};
        case PictureSource::Undo:
            return {"Image From Undo", "Using Undo Image", true};
    }
    return {};
}

std::string idleStatusText(int width, int height) {
    return "0x0 of " + std::to_string(width) + "x" + std::to_string(height) + " (Idle)";
}

}  // namespace tess
