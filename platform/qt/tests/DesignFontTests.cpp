#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>

#include "platform/qt/DesignFont.h"

namespace tess::qt {
namespace {

// Whatever face the desktop prefers and however it hints, the windows' texts are drawn in DejaVu
// Sans at the size asked for, as wide as the font itself makes them: the widths the layout was
// made with. The font setups the layout tests run under run this too.
TEST(DesignFont, IsDejaVuSansAtItsPixelSizeAsWideAsTheFontItself) {
    const QString caption = "Please select a custom CSS font size below... Original Height: 320";
    for (int pixelSize : {11, 15}) {
        for (bool bold : {false, true}) {
            QFont font = designFont(pixelSize);
            font.setBold(bold);
            const QFontInfo info(font);
            EXPECT_EQ(info.family(), "DejaVu Sans") << pixelSize << bold;
            EXPECT_EQ(info.pixelSize(), pixelSize) << pixelSize << bold;
            EXPECT_EQ(info.bold(), bold) << pixelSize << bold;
            QFont unhinted = font;
            unhinted.setHintingPreference(QFont::PreferNoHinting);
            EXPECT_EQ(QFontMetrics(font).horizontalAdvance(caption),
                      QFontMetrics(unhinted).horizontalAdvance(caption))
                << pixelSize << bold;
        }
    }
}

}  // namespace
}  // namespace tess::qt
