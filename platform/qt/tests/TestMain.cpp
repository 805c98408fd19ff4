#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>

#include "platform/qt/DesignFont.h"

// One application object for every test of the binary; offscreen unless the caller chose a
// platform, so the tests need no display, and the programs' font.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    QApplication::setFont(tess::qt::designFont());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
