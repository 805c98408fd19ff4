#include "shell/ProgramIcon.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>

#include "shell/SplashPicture.h"

namespace tess {

QImage ProgramIcon(int size) {
    if (size < 16)
        return {};
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, size);
    sky.setColorAt(0.0, QColor(18, 30, 64));
    sky.setColorAt(1.0, QColor(40, 70, 128));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky);
    painter.drawRoundedRect(QRectF(0, 0, size, size), size / 8.0, size / 8.0);

    QFont title("DejaVu Sans");
    title.setPixelSize(size * 5 / 8);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(236, 240, 250));
    painter.drawText(QRectF(0, 0, size, size * 0.62), Qt::AlignCenter, QStringLiteral("t"));

    // Two rows of three cells from the warm, bright stretch of the splash's strip.
    QFont cellFont("DejaVu Sans Mono");
    cellFont.setPixelSize(std::max(5, size * 3 / 16));
    cellFont.setBold(true);
    painter.setFont(cellFont);
    const double pitch = size * 0.28;
    for (int row = 0; row < 2; ++row) {
        for (int col = 0; col < 3; ++col) {
            const int stripCol = 20 + 3 * col;
            const Colour c = SplashCellColour(row, stripCol);
            painter.setPen(QColor(redOf(c), greenOf(c), blueOf(c)));
            const QRectF cell(size * 0.08 + col * pitch, size * (0.6 + row * 0.17), pitch,
                              size * 0.17);
            painter.drawText(cell, Qt::AlignCenter,
                             QString::fromStdString(SplashCellText(row, stripCol)));
        }
    }
    painter.end();
    return image;
}

}  // namespace tess
