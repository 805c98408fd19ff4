#pragma once

#include <QImage>

#include "platform/Picture.h"
#include "platform/Result.h"

namespace tess {

// The picture as an opaque QImage (Format_RGB32) for showing and for the clipboard. An empty
// picture gives a null image.
QImage toQImage(const Picture& picture);

// The image as a picture; partly or fully transparent pixels are painted onto `backColour` (a
// system colour reference is resolved). Refuses images Picture::create refuses.
Result<Picture> pictureFromQImage(const QImage& image, Colour backColour);
// Writes the image's pixels into `picture`, of the image's size, a row at a time, as
// pictureFromQImage takes them; no second full-size image is made. The picture may be the storage
// the image was decoded into: every pixel is read before it is written.
void writeImageRows(const QImage& image, Picture& picture, Colour backColour);
// As pictureFromQImage, with an empty picture where the image cannot become one.
Picture fromQImage(const QImage& image, Colour backColour);

}  // namespace tess
