#pragma once

// What must hold for the picture decoder on any bytes: it ends, stays inside its input, never
// hands back a picture larger than the limits, and a refusal says why with the invalid-picture or
// out-of-memory code. Some of the decoders are Qt's: the caller keeps a QGuiApplication.
#include <cstdint>
#include <string>
#include <string_view>

#include "CheckOutcome.h"
#include "platform/Picture.h"
#include "platform/Result.h"
#include "platform/qt/PictureFile.h"

namespace tess::fuzzcheck {

inline Outcome checkPicture(std::string_view bytes) {
    Outcome out;
    const Result<Picture> picture = decodePicture(bytes, 0xFFFFFF);
    out.read = picture.ok();
    if (picture) {
        out.what = std::to_string(picture->width()) + " x " + std::to_string(picture->height());
        if (std::int64_t{picture->width()} * picture->height() > Picture::kMaxPixels) {
            out.broken = "a picture of " + out.what + " is beyond the limits";
        }
        return out;
    }
    out.what = picture.error().reason;
    if (picture.error().reason.empty()) {
        out.broken = "a picture refused without a reason";
    } else if (picture.error().code != errc::InvalidPicture &&
               picture.error().code != errc::OutOfMemory) {
        out.broken = "a picture refused with code " + std::to_string(picture.error().code) + ": " +
                     picture.error().reason;
    }
    return out;
}

}  // namespace tess::fuzzcheck
