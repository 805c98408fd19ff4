#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "platform/qt/MenuOpening.h"

namespace tess::qt {
namespace {

// A window with one menu whose opening handler decides whether its Ctrl+Z item may act.
class MenuOpeningTest : public ::testing::Test {
  protected:
    MenuOpeningTest() {
        menu = window.menuBar()->addMenu("&Edit");
        item = menu->addAction("&Undo");
        item->setShortcut(QKeySequence("Ctrl+Z"));
        QObject::connect(item, &QAction::triggered, [this] { ++triggered; });
        button = new QPushButton("Focus", &window);
        window.setCentralWidget(button);
        MenuOpening::connect(window, *menu, [this] {
            ++openings;
            item->setEnabled(enableOnOpening);
        });
        window.show();
        QApplication::setActiveWindow(&window);
        button->setFocus();
        QCoreApplication::processEvents();
    }

    QMainWindow window;
    QMenu* menu = nullptr;
    QAction* item = nullptr;
    QPushButton* button = nullptr;
    bool enableOnOpening = true;
    int openings = 0;
    int triggered = 0;
};

TEST_F(MenuOpeningTest, AShortcutActsOnTheStateTheOpeningHandlerGivesItsItem) {
    if (!window.isActiveWindow())
        GTEST_SKIP() << "the platform gives no window activation";
    struct Case {
        bool enabledBefore;
        bool enableOnOpening;
        int triggers;
    };
    for (const Case& c : {Case{false, true, 1}, Case{true, false, 0}, Case{true, true, 1}}) {
        item->setEnabled(c.enabledBefore);
        enableOnOpening = c.enableOnOpening;
        openings = 0;
        triggered = 0;
        QTest::keyClick(button, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_GE(openings, 1) << c.enabledBefore << c.enableOnOpening;
        EXPECT_EQ(triggered, c.triggers) << c.enabledBefore << c.enableOnOpening;
    }
}

TEST_F(MenuOpeningTest, OtherKeysLeaveTheMenuAlone) {
    QTest::keyClick(button, Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(button, Qt::Key_Z);
    EXPECT_EQ(openings, 0);
    EXPECT_EQ(triggered, 0);
}

TEST_F(MenuOpeningTest, OpeningTheMenuRunsTheHandler) {
    item->setEnabled(false);
    menu->popup(QPoint(0, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(openings, 1);
    EXPECT_TRUE(item->isEnabled());
    menu->close();
}

}  // namespace
}  // namespace tess::qt
