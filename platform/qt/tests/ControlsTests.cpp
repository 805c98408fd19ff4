#include <gtest/gtest.h>
#include <QDialog>

#include "platform/qt/Controls.h"

namespace tess::qt {
namespace {

TEST(FittedTitle, ACaptionTheTitleBarCannotHoldEndsInDotsAndKeepsItsStart) {
    const QString caption = "Custom CSS Font Size Selection";
    const QChar dots(0x2026);
    QString previous = caption;
    for (int width : {900, 304, 200, 120}) {
        SCOPED_TRACE(width);
        QDialog window;
        window.setFixedSize(width, 100);
        const QString title = fittedTitle(window, caption);
        if (width == 900) {
            EXPECT_EQ(title, caption);
        } else {
            ASSERT_TRUE(title.endsWith(dots)) << title.toStdString();
            EXPECT_TRUE(caption.startsWith(title.chopped(1))) << title.toStdString();
        }
        // A narrower window never shows more of the caption.
        EXPECT_LE(title.size(), previous.size());
        previous = title;
    }
}

}  // namespace
}  // namespace tess::qt
