#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>

#include "platform/qt/DesignFont.h"

// One application object for every test; offscreen unless the caller chose a platform, and the
// programs' own style and font, so window geometry is what the programs show.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (QStyle* style = QStyleFactory::create("Fusion"))
        QApplication::setStyle(style);
    QApplication::setFont(tess::qt::designFont());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
