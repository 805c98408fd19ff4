#include "projects/qt/LibraryPreview.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <new>

#include "platform/PictureHeader.h"
#include "platform/qt/DecoderComplaints.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"

namespace tess {

namespace {

std::int64_t scaledSide(std::int64_t side, int denominator) {
    return (side + denominator - 1) / denominator;
}

}  // namespace

Result<Picture> decodeLibraryPreview(std::string_view bytes, Colour backColour,
                                     std::int64_t maxPixels) {
    const PictureLayout layout = inspectPicture(bytes);
    if (!layout.readable || !layout.complete || layout.width > Picture::kMaxSide ||
        layout.height > Picture::kMaxSide || layout.width * layout.height <= maxPixels)
        return decodePicture(bytes, backColour);
    if (layout.format != PictureFormat::Jpeg)
        return Error{errc::OutOfMemory, "the picture is too large to be shown as a thumbnail"};

    int denominator = 2;
    while (denominator < 8 &&
           scaledSide(layout.width, denominator) * scaledSide(layout.height, denominator) >
               maxPixels)
        denominator *= 2;
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "jpeg");
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(true);
    if (!reader.supportsOption(QImageIOHandler::ScaledSize))
        return Error{errc::OutOfMemory, "the picture is too large to be shown as a thumbnail"};
    // The size the decoder's scaling gives by itself: no second scaling of the image follows.
    reader.setScaledSize(QSize(static_cast<int>(scaledSide(layout.width, denominator)),
                               static_cast<int>(scaledSide(layout.height, denominator))));
    try {
        QImage image;
        // libjpeg fills what it cannot read and reports success: a warning is the only sign of a
        // damaged file, which the loader would refuse.
        DecoderComplaints warnings;
        if (!reader.read(&image))
            return Error{errc::InvalidPicture, "the JPEG data cannot be decoded (" +
                                                   reader.errorString().toStdString() + ")"};
        if (warnings.any())
            return Error{errc::InvalidPicture, "the JPEG data is damaged"};
        return pictureFromQImage(image, backColour);
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "not enough memory to decode the picture"};
    }
}

}  // namespace tess
