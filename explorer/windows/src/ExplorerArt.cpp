#include "windows/ExplorerArt.h"

#include <QBitmap>
#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPixmap>
#include <QPolygon>
#include <algorithm>

namespace tess::explorer {

namespace {

const QColor kMagenta(255, 0, 255);
const QColor kInk(32, 32, 48);
// The banner's blue: the right end of the main picture and the whole of the fill beside it.
const QColor kBannerBlue(40, 72, 152);

QImage blank(int width, int height, const QColor& fill) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

// A floppy disk with its top-left corner at (x, y), 11 pixels square.
void disk(QPainter& p, int x, int y) {
    p.fillRect(x, y, 11, 11, QColor(40, 64, 160));
    p.fillRect(x + 2, y, 7, 4, QColor(224, 224, 224));
    p.fillRect(x + 6, y + 1, 2, 2, QColor(40, 64, 160));
    p.fillRect(x + 2, y + 6, 7, 5, QColor(255, 255, 255));
    p.setPen(kInk);
    p.drawRect(x, y, 10, 10);
}

QImage toolbarPicture(std::string_view name) {
    QImage image = blank(16, 16, kMagenta);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, false);
    if (name == "XP_ICO_TIT") {
        // A page with a large "T" across its top line.
        p.fillRect(2, 1, 12, 14, Qt::white);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(2, 1, 11, 13);
        p.fillRect(4, 3, 8, 2, kInk);
        p.fillRect(7, 5, 2, 6, kInk);
        p.fillRect(4, 12, 8, 1, QColor(160, 160, 160));
    } else if (name == "XP_ICO_BGC") {
        // Four colour squares.
        p.fillRect(1, 1, 7, 7, QColor(220, 40, 40));
        p.fillRect(8, 1, 7, 7, QColor(40, 170, 60));
        p.fillRect(1, 8, 7, 7, QColor(40, 80, 220));
        p.fillRect(8, 8, 7, 7, QColor(250, 210, 40));
        p.setPen(kInk);
        p.drawRect(1, 1, 13, 13);
    } else if (name == "XP_ICO_FS") {
        // A large and a small "A".
        p.setPen(kInk);
        p.drawLine(1, 14, 5, 2);
        p.drawLine(2, 14, 6, 2);
        p.drawLine(6, 2, 10, 14);
        p.drawLine(7, 2, 11, 14);
        p.drawLine(4, 10, 8, 10);
        p.setPen(QColor(40, 64, 160));
        p.drawLine(10, 14, 12, 8);
        p.drawLine(12, 8, 14, 14);
        p.drawLine(11, 12, 13, 12);
    } else if (name == "XP_ICO_SA") {
        disk(p, 4, 0);
        disk(p, 0, 5);
    } else if (name == "XP_ICO_SAV") {
        disk(p, 2, 2);
        p.fillRect(3, 3, 1, 1, QColor(40, 64, 160));
    } else if (name == "XP_ICO_X") {
        // A red cross.
        p.setPen(QPen(QColor(200, 24, 24), 3));
        p.drawLine(3, 3, 12, 12);
        p.drawLine(12, 3, 3, 12);
    } else if (name == "XP_ICO_PREV") {
        // A magnifying glass.
        p.setPen(QPen(kInk, 2));
        p.setBrush(QColor(200, 230, 255));
        p.drawEllipse(2, 2, 8, 8);
        p.setPen(QPen(QColor(120, 72, 24), 3));
        p.drawLine(10, 10, 14, 14);
    } else {
        return {};
    }
    return image;
}

// The banner's shade, from deep blue at `left` to the banner blue at `right`.
QLinearGradient bannerShade(int left, int right) {
    QLinearGradient shade(left, 0, right, 0);
    shade.setColorAt(0, QColor(16, 32, 96));
    shade.setColorAt(1, kBannerBlue);
    return shade;
}

// The programs' emblem: five rows of five coloured cells, `cell` pixels square, one every `pitch`
// pixels from (x, y).
void emblem(QPainter& p, int x, int y, int cell, int pitch) {
    const QColor cells[] = {QColor(230, 80, 60), QColor(250, 200, 60), QColor(80, 190, 90),
                            QColor(70, 150, 230), QColor(190, 100, 220)};
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 5; ++col)
            p.fillRect(x + col * pitch, y + row * pitch, cell, cell, cells[(row * 3 + col) % 5]);
    }
}

// The emblem with the caption beside it.
QImage banner() {
    QImage image = blank(429, 55, kBannerBlue);
    QPainter p(&image);
    p.fillRect(image.rect(), bannerShade(0, 429));
    emblem(p, 8, 8, 7, 8);
    QFont title("DejaVu Sans");
    title.setPixelSize(20);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(58, 6, 366, 26), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Tessaryn Mosaic Explorer"));
    QFont sub("DejaVu Sans");
    sub.setPixelSize(11);
    p.setFont(sub);
    p.setPen(QColor(200, 216, 255));
    p.drawText(QRect(58, 32, 366, 16), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("List, edit and delete your ASCII mosaics"));
    return image;
}

QImage bar(int width) {
    QImage image = blank(width, 4, QColor(250, 160, 40));
    QPainter p(&image);
    p.fillRect(0, 0, width, 1, QColor(255, 208, 120));
    p.fillRect(0, 3, width, 1, QColor(190, 100, 20));
    return image;
}

QImage dialogHeader(const QString& caption, const QString& line) {
    QImage image = blank(310, 59, Qt::white);
    QPainter p(&image);
    QLinearGradient shade(0, 0, 310, 0);
    shade.setColorAt(0, Qt::white);
    shade.setColorAt(1, QColor(190, 208, 248));
    p.fillRect(image.rect(), shade);
    p.fillRect(0, 57, 310, 2, QColor(250, 160, 40));
    QFont font("DejaVu Sans");
    font.setPixelSize(14);
    font.setBold(true);
    p.setFont(font);
    p.setPen(kInk);
    p.drawText(QRect(12, 8, 250, 20), Qt::AlignLeft | Qt::AlignVCenter, caption);
    QFont small("DejaVu Sans");
    small.setPixelSize(11);
    p.setFont(small);
    p.setPen(QColor(72, 72, 96));
    p.drawText(QRect(20, 30, 240, 18), Qt::AlignLeft | Qt::AlignVCenter, line);
    // The mosaic emblem at the right.
    const QColor cells[] = {QColor(230, 80, 60), QColor(250, 200, 60), QColor(80, 190, 90),
                            QColor(70, 150, 230)};
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col)
            p.fillRect(262 + col * 9, 10 + row * 9, 8, 8, cells[(row + col) % 4]);
    }
    return image;
}

}  // namespace

QImage resourceBitmap(std::string_view name) {
    if (name == "XP_MAIN")
        return banner();
    if (name == "XP_BLUE")
        return blank(5, 55, kBannerBlue);
    if (name == "XP_BAR")
        return bar(429);
    if (name == "XP_MFS")
        return dialogHeader(QStringLiteral("Mosaic Font Size"),
                            QStringLiteral("HTML or CSS size of the mosaic's text"));
    if (name == "XP_CSS")
        return dialogHeader(QStringLiteral("Custom CSS Size"),
                            QStringLiteral("A size in percent, pixels or points"));
    if (name == "XP_MMT")
        return dialogHeader(QStringLiteral("Mosaic Title"),
                            QStringLiteral("The title the browser shows"));
    return toolbarPicture(name);
}

QImage programIcon(int size) {
    if (size < 16)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(bannerShade(0, size));
    p.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);
    // Whole pixels for the cells, so even the smallest size keeps them apart; at least three
    // pixels a cell and a gap of one.
    p.setRenderHint(QPainter::Antialiasing, false);
    const int pitch = std::max(3, size * 4 / 25);
    const int cell = pitch - std::max(1, pitch / 8);
    const int offset = (size - (4 * pitch + cell)) / 2;
    emblem(p, offset, offset, cell, pitch);
    return image;
}

QIcon maskedIcon(const QImage& bitmap) {
    QPixmap pixmap = QPixmap::fromImage(bitmap);
    pixmap.setMask(pixmap.createMaskFromColor(kMagenta));
    return QIcon(pixmap);
}

QImage rowMark(int index) {
    if (index != 1 && index != 2)
        return {};
    QImage image = blank(13, 13, QColor(0xC0, 0xC0, 0xC0));
    QPainter p(&image);
    if (index == 1) {
        // A grey page.
        p.fillRect(2, 1, 9, 11, Qt::white);
        p.setPen(QColor(128, 128, 128));
        p.drawRect(2, 1, 8, 10);
        p.setPen(QColor(160, 160, 160));
        for (int y = 3; y <= 9; y += 2)
            p.drawLine(4, y, 8, y);
    } else {
        // A yellow page with a black pencil stroke: changed, not saved yet.
        p.fillRect(2, 1, 9, 11, QColor(255, 230, 0));
        p.setPen(Qt::black);
        p.drawRect(2, 1, 8, 10);
        p.drawLine(4, 9, 9, 4);
        p.drawLine(4, 8, 8, 4);
    }
    QImage masked = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        for (int x = 0; x < masked.width(); ++x) {
            if (masked.pixel(x, y) == qRgb(0xC0, 0xC0, 0xC0))
                masked.setPixel(x, y, qRgba(0, 0, 0, 0));
        }
    }
    return masked;
}

}  // namespace tess::explorer
