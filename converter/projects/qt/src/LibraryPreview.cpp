#include "projects/qt/LibraryPreview.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageIOHandler>
#include <QImageReader>
#include <QMessageLogContext>
#include <cstring>
#include <new>

#include "platform/PictureHeader.h"
#include "platform/qt/PictureFile.h"
#include "platform/qt/QtPicture.h"

namespace tess {

namespace {

std::int64_t scaledSide(std::int64_t side, int denominator) {
    return (side + denominator - 1) / denominator;
}

// Whether the image decoders warned while it lived: libjpeg fills what it cannot read and reports
// success, so a warning is the only sign of a damaged file, which the loader would refuse. The
// warnings are kept from the log; others pass on. Previews are made on one thread.
class DecoderWarnings {
  public:
    DecoderWarnings() : previous_(qInstallMessageHandler(&DecoderWarnings::handle)) {
        active_ = this;
    }
    ~DecoderWarnings() {
        active_ = nullptr;
        qInstallMessageHandler(previous_);
    }
    DecoderWarnings(const DecoderWarnings&) = delete;
    DecoderWarnings& operator=(const DecoderWarnings&) = delete;
    bool any() const { return any_; }

  private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
        DecoderWarnings* self = active_;
        if (self != nullptr && type == QtWarningMsg && context.category != nullptr &&
            std::strncmp(context.category, "qt.gui.imageio", 14) == 0) {
            self->any_ = true;
            return;
        }
        const QtMessageHandler previous = self != nullptr ? self->previous_ : nullptr;
        if (previous != nullptr)
            previous(type, context, text);
    }

    static thread_local DecoderWarnings* active_;
    QtMessageHandler previous_;
    bool any_ = false;
};

thread_local DecoderWarnings* DecoderWarnings::active_ = nullptr;

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
        DecoderWarnings warnings;
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
