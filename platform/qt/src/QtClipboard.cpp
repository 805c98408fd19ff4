#include "platform/qt/QtClipboard.h"

#include <QBuffer>
#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageReader>
#include <QMimeData>
#include <cstdint>
#include <string_view>
#include <utility>

#include "platform/PictureHeader.h"
#include "platform/qt/PictureFile.h"

#include "platform/qt/QtPicture.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SharedTextMimeData.h"

namespace tess::qt {

namespace {

constexpr Colour kWhite = 0xFFFFFF;

}  // namespace

void QtClipboard::clear() {
    QGuiApplication::clipboard()->clear();
}

void QtClipboard::setText(const std::string& utf8) {
    QGuiApplication::clipboard()->setText(toQ(utf8));
}

void QtClipboard::offerText(std::shared_ptr<const std::string> utf8) {
    QGuiApplication::clipboard()->setMimeData(new SharedTextMimeData(std::move(utf8)));
}

std::string QtClipboard::text() const {
    return fromQ(QGuiApplication::clipboard()->text());
}

bool QtClipboard::hasText() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

void QtClipboard::setPicture(const Picture& picture) {
    QGuiApplication::clipboard()->setImage(toQImage(picture));
}

std::optional<Picture> QtClipboard::picture() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (data == nullptr) {
        return std::nullopt;
    }
    // Another program offers the bytes of a picture file, which nobody checked: one of the four
    // formats goes through the loader's checks; any other is decoded only after its headers'
    // size has passed the picture limits. A picture of this program is an image already.
    for (const QString& type : data->formats()) {
        if (!type.startsWith(u"image/")) {
            continue;
        }
        const QByteArray bytes = data->data(type);
        if (bytes.isEmpty()) {
            continue;
        }
        const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
        if (inspectPicture(view).format != PictureFormat::Unknown) {
            Result<Picture> picture = decodePicture(view, kWhite);
            if (!picture) {
                return std::nullopt;
            }
            return std::move(picture).value();
        }
        QByteArray copy = bytes;
        QBuffer buffer(&copy);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        const QSize size = reader.size();
        if (!size.isValid() || std::int64_t{size.width()} * size.height() > Picture::kMaxPixels ||
            size.width() > Picture::kMaxSide || size.height() > Picture::kMaxSide) {
            return std::nullopt;
        }
        const QImage image = reader.read();
        if (image.isNull()) {
            return std::nullopt;
        }
        Result<Picture> picture = pictureFromQImage(image, kWhite);
        if (!picture) {
            return std::nullopt;
        }
        return std::move(picture).value();
    }
    const QImage image = QGuiApplication::clipboard()->image();
    if (image.isNull())
        return std::nullopt;
    Result<Picture> picture = pictureFromQImage(image, kWhite);
    if (!picture)
        return std::nullopt;
    return std::move(picture).value();
}

bool QtClipboard::hasPicture() const {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasImage();
}

}  // namespace tess::qt
