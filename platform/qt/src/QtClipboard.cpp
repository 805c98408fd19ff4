#include "platform/qt/QtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include "platform/qt/QtPicture.h"
#include "platform/qt/QtText.h"

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

std::string QtClipboard::text() const {
    return fromQ(QGuiApplication::clipboard()->text());
}

void QtClipboard::setPicture(const Picture& picture) {
    QGuiApplication::clipboard()->setImage(toQImage(picture));
}

std::optional<Picture> QtClipboard::picture() const {
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
