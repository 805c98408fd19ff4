#pragma once

#include <string>
#include <string_view>

#include "platform/Bmp.h"
#include "platform/Colour.h"
#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// Loads a BMP (also named .dib), GIF, JPEG or ICO picture, told apart by its content, never by
// its name. Transparent pixels show `backColour` (a system colour reference is resolved). The
// first image of an animation or icon file is taken; a JPEG is turned upright as its EXIF
// orientation says. Only a regular file (a symbolic link
// followed) is opened, so a pipe or device never makes the load wait, and no more is read than
// the size it had when opened. The format, size and wholeness come from the headers before
// anything is decoded (platform/PictureHeader.h).
//   errc::FileNotFound    the file does not exist
//   errc::InvalidPicture  another format (a PNG named .jpg), headers that cannot be read, a file
//                         cut short or that its decoder complains about, a folder, pipe, device
//                         or socket
//   errc::OutOfMemory     more than Picture::kMaxSide a side or Picture::kMaxPixels in all, or
//                         memory that cannot be had; refused before the pixels are decoded
//   errc::PermissionDenied / errc::Generic  the file cannot be read
Result<Picture> loadPictureFile(const std::string& path, Colour backColour);

// The same for the bytes of a picture file from anywhere (a clipboard, a project or library
// file): every check above holds for bytes nobody checked, and a picture far larger than its
// bytes costs no more than its own size when it is refused.
Result<Picture> decodePicture(std::string_view bytes, Colour backColour);

// savePictureFileBmp (platform/Bmp.h) writes the 24-bit BMP the loader reads back unchanged.

}  // namespace tess
