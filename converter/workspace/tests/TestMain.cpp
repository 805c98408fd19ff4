#include <gtest/gtest.h>

#include <QGuiApplication>
#include <cstdlib>

// The picture decoders are Qt plug-ins, which want an application object; offscreen, so the tests
// need no display.
int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
