#include "platform/qt/PictureFile.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <new>
#include <optional>
#include <string>
#include <utility>

#include "platform/qt/QtPicture.h"

namespace tess {

namespace {

Error invalid(std::string reason) {
    return Error{errc::InvalidPicture, std::move(reason)};
}

Status checkSides(std::int64_t width, std::int64_t height) {
    if (width > Picture::kMaxSide || height > Picture::kMaxSide ||
        width * height > Picture::kMaxPixels) {
        return Error{errc::OutOfMemory,
                     "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels, more than can be loaded (at most " +
                         std::to_string(Picture::kMaxSide) + " pixels a side and " +
                         std::to_string(Picture::kMaxPixels) + " pixels in all)"};
    }
    return {};
}

Result<Picture> withPath(Result<Picture> result, const std::string& path) {
    if (result) {
        return result;
    }
    Error e = result.error();
    e.reason = "\"" + path + "\": " + e.reason;
    return e;
}

}  // namespace

Result<Picture> decodePicture(std::string_view bytes, Colour backColour) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(false);

    const QByteArray format = reader.format().toLower();
    if (format.isEmpty()) {
        return invalid("not a picture file (BMP, GIF, JPEG or ICO)");
    }
    if (format != "bmp" && format != "gif" && format != "jpeg" && format != "ico") {
        return invalid("a " + format.toUpper().toStdString() +
                       " picture; only BMP, GIF, JPEG and ICO pictures can be loaded");
    }

    bool bmpComplete = true;
    if (format == "bmp") {
        if (const std::optional<BmpLayout> layout = inspectBmp(bytes)) {
            if (Status s = checkSides(layout->width, layout->height); !s) {
                return s.error();
            }
            if (layout->width == 0 || layout->height == 0) {
                // The decoder refuses pictures without pixels; our own writer makes them.
                return Picture::create(static_cast<int>(layout->width),
                                       static_cast<int>(layout->height));
            }
            bmpComplete = layout->complete;
        }
    }
    const QSize size = reader.size();
    if (size.isValid()) {
        if (Status s = checkSides(size.width(), size.height()); !s) {
            return s.error();
        }
    }
    if (!bmpComplete) {
        return invalid("the BMP file is cut short");
    }

    // Qt's own cap (128 MB by default) would refuse large pictures the checks above accept.
    QImageReader::setAllocationLimit(static_cast<int>(Picture::kMaxPixels * 4 / (1024 * 1024)));
    QImage image;
    try {
        if (!reader.read(&image)) {
            return invalid("the " + format.toUpper().toStdString() + " data cannot be decoded (" +
                           reader.errorString().toStdString() + ")");
        }
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "not enough memory to decode the picture"};
    }
    if (Status s = checkSides(image.width(), image.height()); !s) {
        return s.error();
    }
    return pictureFromQImage(image, backColour);
}

Result<Picture> loadPictureFile(const std::string& path, Colour backColour) {
    const QString name = QString::fromStdString(path);
    const QFileInfo info(name);
    if (!info.exists()) {
        return Error{errc::FileNotFound, "\"" + path + "\" does not exist"};
    }
    if (info.isDir()) {
        return invalid("\"" + path + "\" is a folder, not a picture file");
    }
    QFile file(name);
    if (!file.open(QIODevice::ReadOnly)) {
        const int code = info.isReadable() ? errc::Generic : errc::PermissionDenied;
        return Error{code,
                     "\"" + path + "\" cannot be read (" + file.errorString().toStdString() + ")"};
    }
    QByteArray bytes;
    try {
        bytes = file.readAll();
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "\"" + path + "\" is too large to be read"};
    }
    if (file.error() != QFileDevice::NoError) {
        return Error{errc::Generic,
                     "\"" + path + "\" cannot be read (" + file.errorString().toStdString() + ")"};
    }
    return withPath(
        decodePicture(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                      backColour),
        path);
}

}  // namespace tess
