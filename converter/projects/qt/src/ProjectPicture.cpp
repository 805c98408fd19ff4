#include "projects/qt/ProjectPicture.h"

#include "platform/Bmp.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "platform/qt/PictureFile.h"

namespace tess {

std::string projectPictureFile(bool imageChanged, const std::string& sourceLine,
                               const Picture& shown, Colour backColour) {
    if (!imageChanged && FileExists(sourceLine)) {
        Result<std::string> bytes = readFileBytes(sourceLine);
        if (bytes) {
            const Result<Picture> decoded = decodePicture(*bytes, backColour);
            if (decoded && *decoded == shown)
                return std::move(bytes).value();
        }
    }
    return encodeBmp24(shown);
}

}  // namespace tess
