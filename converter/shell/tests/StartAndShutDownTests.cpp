#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTimer>

#include "ShellFixture.h"
#include "shell/ConverterProgram.h"
#include "shell/frmSplash.h"

namespace tess {
namespace {

class StartAndShutDown : public ShellFixture {
  protected:
    std::unique_ptr<ConverterProgram> startProgram(std::vector<std::string> arguments = {}) {
        auto program = std::make_unique<ConverterProgram>(services, std::move(arguments));
        program->endProgram = [this] { ++programEnds; };
        program->start();
        return program;
    }
};

TEST_F(StartAndShutDown, SplashSwitchedOffOpensTheMainWindowAtOnce) {
    store("Splash", "0");
    auto program = startProgram();
    ASSERT_NE(program->mainWindow(), nullptr);
    EXPECT_TRUE(program->mainWindow()->isVisible());
    ASSERT_NE(program->splash(), nullptr);  // it deletes itself once events run
    EXPECT_TRUE(program->splash()->Dismissed);
    EXPECT_FALSE(program->splash()->isVisible());
    EXPECT_FALSE(program->splash()->Timer1->isActive());
    // Dialogs stay opaque until the main window has been activated.
    EXPECT_FALSE(program->state.MainActive);
    program->mainWindow()->Form_Activate();
    EXPECT_TRUE(program->state.MainActive);
}

TEST_F(StartAndShutDown, SplashWaitsForAClickOrItsTimer) {
    for (const char* value : {"1", "<missing>", "no"}) {
        if (std::string(value) != "<missing>")
            store("Splash", value);
        auto program = startProgram();
        frmSplash* splash = program->splash();
        ASSERT_NE(splash, nullptr);
        EXPECT_TRUE(splash->isVisible()) << value;
        EXPECT_EQ(splash->size(), QSize(380, 250));
        EXPECT_EQ(splash->lblBetaStat->text(), "beta 1");
        EXPECT_EQ(splash->lblBetaStat->geometry(), QRect(276, 152, 59, 18));
        EXPECT_TRUE(splash->Timer1->isActive());
        EXPECT_EQ(splash->Timer1->interval(), 4000);
        EXPECT_EQ(program->mainWindow(), nullptr);

        splash->Picture1_Click();
        ASSERT_NE(program->mainWindow(), nullptr);
        frmMain* main = program->mainWindow();
        EXPECT_TRUE(main->isVisible());
        EXPECT_FALSE(splash->isVisible());
        EXPECT_FALSE(splash->Timer1->isActive());
        // A tick that was already due when the click came does nothing more.
        splash->Timer1_Timer();
        EXPECT_EQ(program->mainWindow(), main);
        store("Splash", "1");
    }
}

TEST_F(StartAndShutDown, TimerTickHandsOverOnce) {
    auto program = startProgram();
    frmSplash* splash = program->splash();
    splash->Timer1_Timer();
    frmMain* main = program->mainWindow();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(splash->Dismissed);
    splash->Form_Click();
    EXPECT_EQ(program->mainWindow(), main);
}

// The main window's load may wait in a message box (a project named on the command line that
// cannot be read), and events then run before the program's own loop has started: the splash must
// outlive its hand-over all the same.
TEST_F(StartAndShutDown, SplashOutlivesAHandOverThatRunsEvents) {
    store("Splash", "0");
    QPointer<frmSplash> during;
    bool aliveAfterEvents = false;
    auto* splash = new frmSplash(services, state, [&] {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
        aliveAfterEvents = !during.isNull();
    });
    during = splash;
    splash->Form_Load();
    EXPECT_TRUE(aliveAfterEvents);
    ASSERT_FALSE(during.isNull());
    EXPECT_TRUE(during->Dismissed);
    EXPECT_FALSE(during->isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(during.isNull());
}

TEST_F(StartAndShutDown, LocationIsRecordedWhenTheProgramFileExists) {
    store("Splash", "0");
    startProgram();
    EXPECT_EQ(setting("Location"), "<none>");

    touch(inProgram("Tessaryn"));
    startProgram();
    EXPECT_EQ(setting("Location"), inProgram("Tessaryn"));
}

TEST_F(StartAndShutDown, ClosingStoresTheLastEffectDeletesUndoFilesAndEndsTheProgram) {
    store("Splash", "0");
    touch(inProgram("~tesundo.dat"));
    touch(inProgram("~tesundo2.dat"));
    auto program = startProgram();
    frmMain* main = program->mainWindow();
    main->mnuLastFX->setText("   Last Effect: Blur");
    main->mnuLastFX->setVisible(true);

    EXPECT_TRUE(main->close());
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(setting("LastFX"), "   Last Effect: Blur");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("~tesundo.dat"))));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("~tesundo2.dat"))));

    // The next start shows the same item.
    auto next = startProgram();
    EXPECT_TRUE(next->mainWindow()->mnuLastFX->isVisible());
    EXPECT_EQ(next->mainWindow()->mnuLastFX->text(), "   Last Effect: Blur");
}

TEST_F(StartAndShutDown, ClosingWithoutAnEffectStoresAnEmptyLastEffect) {
    store("Splash", "0");
    store("LastFX", "   Last Effect: Neon");
    auto program = startProgram();
    frmMain* main = program->mainWindow();
    main->mnuLastFX->setVisible(false);
    main->mnuExit->trigger();
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(setting("LastFX"), "");
    EXPECT_FALSE(startProgram()->mainWindow()->mnuLastFX->isVisible());
}

TEST_F(StartAndShutDown, ClosingWithTheDesignCaptionStoresNothing) {
    store("Splash", "0");
    auto program = startProgram();
    program->mainWindow()->mnuLastFX->setVisible(true);
    program->mainWindow()->close();
    EXPECT_EQ(setting("LastFX"), "");
    EXPECT_EQ(programEnds, 1);
}

TEST_F(StartAndShutDown, ClosingWithoutUndoFilesReportsNothing) {
    store("Splash", "0");
    auto program = startProgram();
    program->mainWindow()->close();
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(dialogs.msgBoxes().empty());
}

TEST_F(StartAndShutDown, ActivationEventSetsMainActive) {
    store("Splash", "0");
    auto program = startProgram();
    frmMain* main = program->mainWindow();
    main->activateWindow();
    QCoreApplication::processEvents();
    if (!main->isActiveWindow())
        GTEST_SKIP() << "the platform gives no window activation";
    EXPECT_TRUE(program->state.MainActive);
}

}  // namespace
}  // namespace tess
