#include "platform/qt/DesignFont.h"

namespace tess::qt {

QFont designFont(int pixelSize) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

}  // namespace tess::qt
