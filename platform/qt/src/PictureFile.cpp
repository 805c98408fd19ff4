#include "platform/qt/PictureFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>
#include <QString>
#include <cerrno>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <utility>

#include "platform/Bmp.h"
#include "platform/GifDecoder.h"
#include "platform/IcoDecoder.h"
#include "platform/JpegDecoder.h"
#include "platform/PictureHeader.h"
#include "platform/ReadFully.h"
#include "platform/qt/DecoderComplaints.h"
#include "platform/qt/QtPicture.h"

namespace tess {

namespace {

// The largest picture file read: a picture of the most pixels at 32 bits each, with room for
// headers, a palette and a gap before the pixels.
constexpr std::int64_t kMaxFileBytes = Picture::kMaxPixels * 4 + (std::int64_t{64} << 20);

Error invalid(std::string reason) {
    return Error{errc::InvalidPicture, std::move(reason)};
}

// GIF screens stay below 16384 x 16384 pixels in all, the bound they have always had (Qt's GIF
// reader, which decoded them before, refuses larger ones whatever it is told).
constexpr std::int64_t kMaxGifPixels = std::int64_t{16384} * 16384 - 1;

Status checkSides(std::int64_t width, std::int64_t height,
                  std::int64_t maxPixels = Picture::kMaxPixels) {
    if (width > Picture::kMaxSide || height > Picture::kMaxSide || width * height > maxPixels) {
        return Error{errc::OutOfMemory,
                     "the picture is " + std::to_string(width) + " x " + std::to_string(height) +
                         " pixels, more than can be loaded (at most " +
                         std::to_string(Picture::kMaxSide) + " pixels a side and " +
                         std::to_string(maxPixels) + " pixels in all)"};
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

Error notOurFormat(QBuffer& buffer) {
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QByteArray format = reader.format();
    if (format.isEmpty()) {
        return invalid("not a picture file (BMP, GIF, JPEG or ICO)");
    }
    return invalid("a " + format.toUpper().toStdString() +
                   " picture; only BMP, GIF, JPEG and ICO pictures can be loaded");
}

// No pixel has any alpha: such a BMP (a 32-bit one whose bit fields name an alpha mask that every
// writer left at 0) is shown opaque by the system and by browsers.
bool alphaAllZero(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(line[x]) != 0) {
                return false;
            }
        }
    }
    return true;
}

// Decodes with Qt's reader of `format` (what the headers showed, never another one), for the BMPs
// the program does not read itself and the PNG pictures inside icon files. These decoders fill an
// image of the right size and layout that they are handed, so the picture's own storage takes the
// pixels and is turned into our layout where it lies; the others decode into an image of their
// own, converted a row at a time.
Result<Picture> decodeChecked(std::string_view bytes, const char* format, const std::string& name,
                              Colour backColour) {
    QByteArray data = QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    reader.setAutoTransform(false);
    const QSize size = reader.size();
    if (size.isValid()) {
        if (Status s = checkSides(size.width(), size.height()); !s) {
            return s.error();
        }
    }
    // Qt's own cap (128 MB by default) would refuse pictures the checks above accept; the one
    // left bounds a decoder that allocates more than its headers said.
    QImageReader::setAllocationLimit(
        static_cast<int>(Picture::kMaxPixels * 4 / (1024 * 1024) + 64));

    const QImage::Format imageFormat = reader.imageFormat();
    const bool intoPicture =
        size.isValid() && !size.isEmpty() &&
        (imageFormat == QImage::Format_RGB32 || imageFormat == QImage::Format_ARGB32);
    Picture picture;
    QImage image;
    if (intoPicture) {
        Result<Picture> made = Picture::createForOverwrite(size.width(), size.height());
        if (!made) {
            return made.error();
        }
        picture = std::move(made).value();
        image = QImage(reinterpret_cast<uchar*>(picture.row(0)), size.width(), size.height(),
                       qsizetype{size.width()} * 4, imageFormat);
    }
    try {
        DecoderComplaints complaints;
        if (!reader.read(&image)) {
            return invalid("the " + name + " data cannot be decoded (" +
                           reader.errorString().toStdString() + ")");
        }
        if (!complaints.first().empty()) {
            return invalid("the " + name + " data is damaged (" + complaints.first() + ")");
        }
    } catch (const std::bad_alloc&) {
        return Error{errc::OutOfMemory, "not enough memory to decode the picture"};
    }
    if (Status s = checkSides(image.width(), image.height()); !s) {
        return s.error();
    }
    const bool inPlace = intoPicture && image.constBits() == reinterpret_cast<const uchar*>(
                                                                 std::as_const(picture).row(0));
    if (!inPlace) {
        Result<Picture> made = Picture::createForOverwrite(image.width(), image.height());
        if (!made) {
            return made.error();
        }
        picture = std::move(made).value();
    }
    if (std::string_view(format) == "bmp" && image.format() == QImage::Format_ARGB32 &&
        alphaAllZero(image)) {
        const QImage opaque(image.constBits(), image.width(), image.height(), image.bytesPerLine(),
                            QImage::Format_RGB32);
        writeImageRows(opaque, picture, backColour);
        return picture;
    }
    writeImageRows(image, picture, backColour);
    return picture;
}

struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
};

Error readError(const std::string& path, int err) {
    const int code = err == EACCES || err == EPERM ? errc::PermissionDenied
                     : err == ENOMEM               ? errc::OutOfMemory
                                                   : errc::Generic;
    return Error{code, "\"" + path + "\" cannot be read (" +
                           std::error_code(err, std::generic_category()).message() + ")"};
}

// The bytes of a regular file, never more than the size it had when opened: a pipe or device
// would block or never end, so it is refused before it is opened, and again by what was opened
// (the name may have changed in between). Nothing waits, whatever is at the path.
Result<FileBytes> readPictureFileBytes(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) {
            return Error{errc::FileNotFound, "\"" + path + "\" does not exist"};
        }
        return readError(path, err);
    }
    if (S_ISDIR(st.st_mode)) {
        return invalid("\"" + path + "\" is a folder, not a picture file");
    }
    if (!S_ISREG(st.st_mode)) {
        return invalid("\"" + path + "\" is not a picture file (BMP, GIF, JPEG or ICO)");
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return readError(path, errno);
    }
    const struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::fstat(fd, &st) != 0) {
        return readError(path, errno);
    }
    if (!S_ISREG(st.st_mode)) {
        return invalid("\"" + path + "\" is not a picture file (BMP, GIF, JPEG or ICO)");
    }
    if (st.st_size > kMaxFileBytes) {
        return Error{errc::OutOfMemory, "\"" + path + "\" is too large to be a picture file"};
    }
    FileBytes bytes;
    const auto wanted = static_cast<std::size_t>(st.st_size);
    bytes.data.reset(new (std::nothrow) char[wanted == 0 ? 1 : wanted]);
    if (!bytes.data) {
        return Error{errc::OutOfMemory, "\"" + path + "\" is too large to be read"};
    }
    // A file that shrank meanwhile is read as far as it goes: the decoder finds it cut short.
    if (const int err = readFully(fd, bytes.data.get(), wanted, bytes.size); err != 0) {
        return readError(path, err);
    }
    return bytes;
}

}  // namespace

Result<Picture> decodePicture(std::string_view bytes, Colour backColour) {
    const PictureLayout layout = inspectPicture(bytes);
    if (layout.format == PictureFormat::Unknown) {
        QByteArray data =
            QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size()));
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        return notOurFormat(buffer);
    }
    const std::string name(formatName(layout.format));
    if (!layout.readable) {
        return invalid("the " + name + " headers cannot be read");
    }
    const std::int64_t maxPixels =
        layout.format == PictureFormat::Gif ? kMaxGifPixels : Picture::kMaxPixels;
    if (Status s = checkSides(layout.width, layout.height, maxPixels); !s) {
        return s.error();
    }
    if (!layout.complete) {
        return invalid("the " + name + " file is cut short");
    }
    if (layout.width == 0 || layout.height == 0) {
        if (layout.format == PictureFormat::Bmp) {
            // The decoder refuses pictures without pixels; our own writer makes them.
            return Picture::create(static_cast<int>(layout.width), static_cast<int>(layout.height));
        }
        return invalid("the " + name + " picture has no pixels");
    }
    switch (layout.format) {
        case PictureFormat::Bmp:
            // The common kind, the one the program writes, and the palette kinds need no general
            // decoder.
            if (std::optional<Result<Picture>> plain = decodeBmp24(bytes)) {
                return std::move(*plain);
            }
            if (std::optional<Result<Picture>> indexed = decodeBmpIndexed(bytes)) {
                return std::move(*indexed);
            }
            return decodeChecked(bytes, "bmp", name, backColour);
        case PictureFormat::Gif:
            return decodeGif(bytes, backColour);
        case PictureFormat::Jpeg:
            return decodeJpeg(bytes);
        case PictureFormat::Ico:
            if (std::optional<Result<Picture>> bitmap = decodeIcoBitmap(bytes, backColour)) {
                return std::move(*bitmap);
            }
            return decodeChecked(icoFirstEntry(bytes), "png", name, backColour);
        case PictureFormat::Unknown:
            break;
    }
    return invalid("not a picture file (BMP, GIF, JPEG or ICO)");
}

Result<Picture> loadPictureFile(const std::string& path, Colour backColour) {
    Result<FileBytes> bytes = readPictureFileBytes(path);
    if (!bytes) {
        return bytes.error();
    }
    return withPath(decodePicture(std::string_view(bytes->data.get(), bytes->size), backColour),
                    path);
}

}  // namespace tess
