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

namespace {

std::uint32_t stored(QRgb p, const int back[3]) {
    const int a = qAlpha(p);
    if (a == 255) {
        return static_cast<std::uint32_t>(rgb(qRed(p), qGreen(p), qBlue(p)));
    }
    const int channels[3] = {qRed(p), qGreen(p), qBlue(p)};
    std::uint32_t c = 0;
    for (int i = 0; i < 3; ++i) {
        // Straight alpha over the back colour, rounded to the nearest step.
        const int v = (channels[i] * a + back[i] * (255 - a) + 127) / 255;
        c |= static_cast<std::uint32_t>(v) << (8 * i);
    }
    return c;
}

}  // namespace

void writeImageRows(const QImage& image, Picture& picture, Colour backColour) {
    const auto back = static_cast<std::uint32_t>(SystemColours::resolve(backColour) & 0xFFFFFF);
    const int backRgb[3] = {static_cast<int>(back & 0xFF), static_cast<int>((back >> 8) & 0xFF),
                            static_cast<int>((back >> 16) & 0xFF)};
    const int width = image.width();
    const QImage::Format format = image.format();
    const QList<QRgb> table = image.colorTable();
    for (int y = 0; y < image.height(); ++y) {
        std::uint32_t* to = picture.row(y);
        const uchar* line = image.constScanLine(y);
        if (format == QImage::Format_RGB32) {
            const auto* from = reinterpret_cast<const QRgb*>(line);
            for (int x = 0; x < width; ++x) {
                const QRgb p = from[x];
                to[x] = (p >> 16 & 0xFFu) | (p & 0xFF00u) | (p & 0xFFu) << 16;
            }
        } else if (format == QImage::Format_ARGB32) {
            const auto* from = reinterpret_cast<const QRgb*>(line);
            for (int x = 0; x < width; ++x) {
                to[x] = stored(from[x], backRgb);
            }
        } else if (format == QImage::Format_Indexed8) {
            for (int x = 0; x < width; ++x) {
                const uchar i = line[x];
                to[x] = stored(i < table.size() ? table[i] : qRgb(0, 0, 0), backRgb);
            }
        } else if (format == QImage::Format_Grayscale8) {
            for (int x = 0; x < width; ++x) {
                to[x] = static_cast<std::uint32_t>(line[x]) * 0x010101u;
            }
        } else {
            // Any other layout: Qt converts one row, a row's worth of memory.
            QImage one(line, width, 1, image.bytesPerLine(), format);
            one.setColorTable(table);
            const QImage argb = one.convertToFormat(QImage::Format_ARGB32);
            const auto* from = reinterpret_cast<const QRgb*>(argb.constScanLine(0));
            for (int x = 0; x < width; ++x) {
                to[x] = stored(from[x], backRgb);
            }
        }
    }
}

Result<Picture> pictureFromQImage(const QImage& image, Colour backColour) {
    if (image.isNull()) {
        return Picture();
    }
    Result<Picture> made = Picture::createForOverwrite(image.width(), image.height());
    if (made) {
        writeImageRows(image, made.value(), backColour);
    }
    return made;
}

Picture fromQImage(const QImage& image, Colour backColour) {
    Result<Picture> made = pictureFromQImage(image, backColour);
    return made ? std::move(made).value() : Picture();
}

}  // namespace tess
