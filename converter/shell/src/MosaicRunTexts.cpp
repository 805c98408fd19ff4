#include "shell/MosaicRunTexts.h"

#include "engine/SizeEstimate.h"

namespace tess {

Message clipboardRunMessage(RunStatus status) {
    if (status == RunStatus::Complete)
        return {"The HTML Mosaic has been copied to your clipboard.", mb::Information, "Complete"};
    return {"The partial HTML Mosaic has been copied to your clipboard.", mb::Information,
            "Incomplete"};
}

Message runFailureMessage(const Error& error, bool toClipboard) {
    const std::string what = toClipboard ? "The HTML Mosaic could not be copied to your clipboard."
                                         : "The HTML Mosaic could not be written.";
    return {what + "\r\n" + error.reason, mb::Exclamation, "Error Creating Mosaic"};
}

Message speedLogFailureMessage(const Error& error) {
    return {"The speed log could not be written.\r\n" + error.reason, mb::Exclamation, "Speed Log"};
}

Message sizePreviewMessage(int width, int height, std::string_view title,
                           std::string_view separator) {
    return {"The estimated output size for this image is " +
                estimateOutputSizeText(width, height, title, separator) +
                " bytes.\r\n(The actual size may be smaller due to redundant pixels)",
            mb::Information, "Estimated Output Size Preview"};
}

}  // namespace tess
