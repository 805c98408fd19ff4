#include "shell/EffectsBanner.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "platform/qt/QtPicture.h"

namespace tess {

namespace {

constexpr int kWidth = 524;
constexpr int kHeight = 59;

// One small landscape (sky, sun, hills), seen through a colour change per tile.
QColor tileColour(int x, int y, int tile) {
    int r = 0;
    int g = 0;
    int b = 0;
    const int dx = x - 11;
    const int dy = y - 9;
    if (dx * dx + dy * dy <= 16) {
        r = 250, g = 210, b = 70;
    } else if (y > 24 - (x % 13 < 7 ? x % 13 : 13 - x % 13)) {
        r = 60, g = 150 - y * 2, b = 70;
    } else {
        r = 90 + y * 4, g = 150 + y * 3, b = 235;
    }
    switch (tile % 6) {
        case 1: {  // grey
            const int m = std::max({r, g, b});
            return {m, m, m};
        }
        case 2:  // the components turned
            return {g, b, r};
        case 3:  // inverted
            return {255 - r, 255 - g, 255 - b};
        case 4:  // black and white
            return r + g + b > 383 ? QColor(255, 255, 255) : QColor(0, 0, 0);
        case 5:  // coarse cells
            return tileColour(x / 4 * 4, y / 4 * 4, 0);
        default:
            return {r, g, b};
    }
}

}  // namespace

Picture EffectsBanner() {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient sky(0, 0, kWidth, 0);
    sky.setColorAt(0.0, QColor(18, 30, 64));
    sky.setColorAt(1.0, QColor(48, 82, 144));
    painter.fillRect(image.rect(), sky);

    // Six tiles of 30 x 30 on the right, a light frame round each.
    constexpr int kTile = 30;
    for (int tile = 0; tile < 6; ++tile) {
        const int left = 292 + tile * (kTile + 8);
        const int top = (kHeight - kTile) / 2;
        for (int y = 0; y < kTile; ++y) {
            for (int x = 0; x < kTile; ++x)
                image.setPixelColor(left + x, top + y, tileColour(x, y, tile));
        }
        painter.setPen(QColor(200, 214, 240));
        painter.drawRect(left - 1, top - 1, kTile + 1, kTile + 1);
    }

    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont title("DejaVu Sans");
    title.setPixelSize(22);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(236, 240, 250));
    painter.drawText(QRect(14, 6, 270, 28), Qt::AlignLeft | Qt::AlignVCenter, "Image Effects");
    QFont line("DejaVu Sans");
    line.setPixelSize(11);
    painter.setFont(line);
    painter.setPen(QColor(190, 204, 232));
    painter.drawText(QRect(15, 34, 270, 18), Qt::AlignLeft | Qt::AlignVCenter,
                     "Pick an effect to see it on your picture.");
    painter.setPen(QColor(120, 150, 210));
    painter.drawLine(0, kHeight - 1, kWidth - 1, kHeight - 1);
    painter.end();
    return fromQImage(image, 0);
}

}  // namespace tess
