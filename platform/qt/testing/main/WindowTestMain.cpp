#include <gtest/gtest.h>

#include <QApplication>
#include <QStyleFactory>
#include <cstdlib>

// One application object for every test; offscreen unless the caller chose a platform, and the
// program's own style, so window geometry is what the program shows.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication app(argc, argv);
    if (QStyle* style = QStyleFactory::create("Fusion"))
        QApplication::setStyle(style);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
