#include "shell/SplashPicture.h"

#include <QFont>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

#include "platform/qt/QtPicture.h"

namespace tess {

std::string SplashCellText(int row, int col) {
    const char* digits = "0110100111010010";
    return {digits[(col + row) % 16], digits[(col * 3 + row) % 16]};
}

Colour SplashCellColour(int row, int col) {
    return rgb(90 + (col * 6 + row * 13) % 160, 120 + (col * 11 + row * 7) % 120,
               200 - (col * 5 + row * 17) % 120);
}

Picture SplashPicture() {
    QImage image(380, 250, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, 0, 250);
    sky.setColorAt(0.0, QColor(18, 30, 64));
    sky.setColorAt(1.0, QColor(40, 70, 128));
    painter.fillRect(image.rect(), sky);

    // Rows of cells, two characters each, coloured like the pixels of a picture.
    QFont cellFont("DejaVu Sans Mono");
    cellFont.setPixelSize(10);
    painter.setFont(cellFont);
    for (int row = 0; row < 5; ++row) {
        for (int col = 0; col < 29; ++col) {
            const Colour c = SplashCellColour(row, col);
            painter.setPen(QColor(redOf(c), greenOf(c), blueOf(c)));
            painter.drawText(12 + col * 12, 196 + row * 11,
                             QString::fromStdString(SplashCellText(row, col)));
        }
    }

    QFont title("DejaVu Sans");
    title.setPixelSize(44);
    title.setBold(true);
    painter.setFont(title);
    painter.setPen(QColor(236, 240, 250));
    painter.drawText(QRect(20, 40, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, "tessaryn");

    QFont edition("DejaVu Sans");
    edition.setPixelSize(52);
    edition.setBold(true);
    painter.setFont(edition);
    painter.setPen(QColor(255, 196, 72));
    painter.drawText(QRect(272, 34, 96, 70), Qt::AlignLeft | Qt::AlignVCenter, "q4");

    QFont line("DejaVu Sans");
    line.setPixelSize(13);
    painter.setFont(line);
    painter.setPen(QColor(190, 204, 232));
    painter.drawText(QRect(22, 104, 340, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     "pictures into ASCII mosaics");

    painter.setPen(QColor(120, 150, 210));
    painter.drawLine(22, 132, 358, 132);
    painter.end();
    return fromQImage(image, 0);
}

}  // namespace tess
