#include "platform/qt/QtPicture.h"

#include <cstdint>
#include <utility>

#include "platform/SystemColours.h"

namespace tess {

QImage toQImage(const Picture& picture) {
    if (picture.empty()) {
        return {};
    }
    QImage image(picture.width(), picture.height(), QImage::Format_RGB32);
    if (image.isNull()) {
        return {};
    }
    for (int y = 0; y < picture.height(); ++y) {
        const std::uint32_t* from = picture.row(y);
        auto* to = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const std::uint32_t c = from[x];
            to[x] = qRgb(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                         static_cast<int>((c >> 16) & 0xFF));
        }
    }
    return image;
}

Result<Picture> pictureFromQImage(const QImage& image, Colour backColour) {
    if (image.isNull()) {
        return Picture();
    }
    Result<Picture> made = Picture::create(image.width(), image.height(), 0);
    if (!made) {
        return made;
    }
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    if (argb.isNull()) {
        return Error{errc::OutOfMemory, "not enough memory to convert the picture"};
    }
    const auto back = static_cast<std::uint32_t>(SystemColours::resolve(backColour) & 0xFFFFFF);
    const int backRgb[3] = {static_cast<int>(back & 0xFF), static_cast<int>((back >> 8) & 0xFF),
                            static_cast<int>((back >> 16) & 0xFF)};
    Picture& picture = made.value();
    for (int y = 0; y < argb.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        std::uint32_t* to = picture.row(y);
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb p = from[x];
            const int a = qAlpha(p);
            if (a == 255) {
                to[x] = static_cast<std::uint32_t>(rgb(qRed(p), qGreen(p), qBlue(p)));
                continue;
            }
            const int rgb[3] = {qRed(p), qGreen(p), qBlue(p)};
            std::uint32_t c = 0;
            for (int i = 0; i < 3; ++i) {
                // Straight alpha over the back colour, rounded to the nearest step.
                const int v = (rgb[i] * a + backRgb[i] * (255 - a) + 127) / 255;
                c |= static_cast<std::uint32_t>(v) << (8 * i);
            }
            to[x] = c;
        }
    }
    return made;
}

Picture fromQImage(const QImage& image, Colour backColour) {
    Result<Picture> made = pictureFromQImage(image, backColour);
    return made ? std::move(made).value() : Picture();
}

}  // namespace tess
