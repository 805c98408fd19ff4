#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/testing/CountingEventPump.h"
#include "projects/qt/ProgressWindow.h"

namespace tess {
namespace {

// A main window and an effects dialog that the progress window disables and enables; the effects
// dialog comes to exist when the window first reaches it, as the program's does.
class ProgressWindowTest : public ::testing::Test {
  protected:
    ProgressWindowTest() : progress(links()) {}

    ProgressWindowLinks links() {
        ProgressWindowLinks l;
        l.ProgressLock = &ProgressLock;
        l.ProgressLockFX = &ProgressLockFX;
        l.mainWindow = [this] { return &main; };
        l.effectsDialog = [this] {
            ++effectsReached;
            if (!fx)
                fx = std::make_unique<QWidget>();
            return fx.get();
        };
        l.applyTransparency = [this](QWidget& w) { transparencyTo = w.objectName().toStdString(); };
        l.pump = &pump;
        return l;
    }

    bool ProgressLock = false;
    bool ProgressLockFX = false;
    QWidget main;
    std::unique_ptr<QWidget> fx;
    int effectsReached = 0;
    std::string transparencyTo;
    testing::CountingEventPump pump;
    ProgressWindow progress;
};

TEST_F(ProgressWindowTest, TheFlagsAtLoadAndUnloadDecideWhichWindowsAreLocked) {
    struct Case {
        const char* caller;
        bool lock, lockFX;
        bool mainDisabled, fxDisabled;
    };
    const Case cases[] = {
        {"library unpack: nothing", false, false, false, false},
        {"project save or load: the main window", true, false, true, false},
        {"repeat of the last effect: both", false, true, true, true},
    };
    for (const Case& c : cases) {
        fx = std::make_unique<QWidget>();
        main.setEnabled(true);
        ProgressLock = c.lock;
        ProgressLockFX = c.lockFX;
        progress.setLines("Action", "Subject", "Step");
        EXPECT_EQ(!main.isEnabled(), c.mainDisabled) << c.caller;
        EXPECT_EQ(!fx->isEnabled(), c.fxDisabled) << c.caller;
        progress.unload();
        EXPECT_TRUE(main.isEnabled()) << c.caller;
        EXPECT_TRUE(fx->isEnabled()) << c.caller;
    }
}

TEST_F(ProgressWindowTest, TheEffectsDialogIsReachedOnlyForTheEffectsLock) {
    ProgressLock = true;
    progress.form();
    progress.unload();
    EXPECT_EQ(effectsReached, 0);
    EXPECT_EQ(fx, nullptr);

    // Reaching the dialog creates it even when it was not open.
    ProgressLockFX = true;
    progress.form();
    ASSERT_NE(fx, nullptr);
    EXPECT_FALSE(fx->isEnabled());
    progress.unload();
    EXPECT_TRUE(fx->isEnabled());
}

TEST_F(ProgressWindowTest, AFlagClearedBeforeTheUnloadLeavesTheWindowsAsTheyAre) {
    // The effect apply locks the windows itself and clears its flag before the unload.
    ProgressLock = true;
    progress.form();
    ProgressLock = false;
    progress.unload();
    EXPECT_FALSE(main.isEnabled());

    main.setEnabled(false);
    progress.form();  // no flag at load: the load enables nothing either
    EXPECT_FALSE(main.isEnabled());
    progress.unload();
}

TEST_F(ProgressWindowTest, LoadShowsTheHourglassAndTakesTheTransparency) {
    frmSLProj& f = progress.form();
    EXPECT_EQ(transparencyTo, "frmSLProj");
    EXPECT_EQ(f.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(f.width(), frmSLProj::kClientWidth);
    EXPECT_EQ(f.height(), frmSLProj::kClientHeight);
}

TEST_F(ProgressWindowTest, ShowAndStepsWriteTheLinesAndGiveTheEventLoopATurn) {
    ProgressLock = true;
    progress.setLines("Saving...", "/home/u/a.tpw", "Compiling data...");
    EXPECT_FALSE(progress.form().isVisible());
    EXPECT_EQ(pump.doEventsCount(), 0);

    main.setGeometry(100, 100, 400, 300);
    main.show();
    progress.show(main);
    frmSLProj& f = progress.form();
    EXPECT_TRUE(f.isVisible());
    EXPECT_EQ(f.parentWidget(), &main);
    EXPECT_TRUE(f.isWindow());
    EXPECT_EQ(pump.doEventsCount(), 1);

    progress.step("Compressing project...");
    EXPECT_EQ(f.Label1->text(), "Saving...");
    EXPECT_EQ(f.Label2->text(), "/home/u/a.tpw");
    EXPECT_EQ(f.Label3->text(), "Compressing project...");
    EXPECT_EQ(pump.doEventsCount(), 2);
    progress.unload();
    main.hide();
}

TEST_F(ProgressWindowTest, TheLinesKeepTheirColourWhileTheOwnerIsDisabled) {
    // The effect apply disables the main window itself, with the progress window already shown.
    progress.setLines("Applying Effect", "Blur", "Please Wait...");
    progress.show(main);
    main.setEnabled(false);
    frmSLProj& f = progress.form();
    ASSERT_FALSE(f.Label1->isEnabled());  // Qt disables owned windows with their owner
    const QPalette& p = f.Label1->palette();
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::WindowText),
              p.color(QPalette::Active, QPalette::WindowText));
    progress.unload();
    main.setEnabled(true);
}

TEST_F(ProgressWindowTest, UnloadDestroysTheWindowAndTheNextAccessLoadsAFreshOne) {
    QPointer<frmSLProj> first = &progress.form();
    first->Label1->setText("old");
    progress.unload();
    EXPECT_TRUE(first.isNull());
    EXPECT_FALSE(progress.isLoaded());
    progress.unload();  // unloading twice does nothing

    transparencyTo.clear();
    frmSLProj& second = progress.form();
    EXPECT_EQ(transparencyTo, "frmSLProj");
    EXPECT_EQ(second.Label1->text(), "Label1");
}

TEST_F(ProgressWindowTest, TheUserCannotCloseIt) {
    progress.setLines("Loading...", "a.tpw", "Opening file...");
    progress.show(main);
    EXPECT_FALSE(progress.form().close());
    EXPECT_TRUE(progress.isLoaded());
    EXPECT_TRUE(progress.form().isVisible());
}

TEST_F(ProgressWindowTest, AnOwnerDestroyedFirstTakesTheWindowWithIt) {
    auto owner = std::make_unique<QWidget>();
    progress.setLines("Loading GFX Lib...", "Animals", "Opening file...");
    progress.show(*owner);
    owner.reset();
    EXPECT_FALSE(progress.isLoaded());
    progress.unload();
}

}  // namespace
}  // namespace tess
