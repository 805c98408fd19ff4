#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

#include "ShellFixture.h"
#include "effects/EffectRun.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/QtText.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "platform/testing/Pictures.h"
#include "shell/frmCResize.h"
#include "workspace/ResizeCommands.h"

namespace tess {
namespace {

using testing::gradient;

// The main window after its load with a picture of its own, as a load leaves it.
class ResizeWindow : public MainWindowFixture {
  protected:
    ResizeWindow() { setWorking(gradient(321, 241)); }
    void setWorking(Picture picture) {
        w->srcPic->box().setPicture(std::move(picture));
        w->DrawImageEdges();
        w->UpdateScrollBars();
        w->Label6->setText("before");
        state.ImageChanged = false;
    }
    std::string status() const { return qt::fromQ(w->Label6->text()); }
    static Picture expected(const Picture& source, PictureSize size, ResizeDrawing drawing) {
        return *resizedPicture(source, size, drawing, fx::kMainScratchBack);
    }

    // Opens the custom resize dialog from its button and works it while it is shown; returns
    // whether it opened.
    bool inDialog(std::function<void(frmCResize&)> work) {
        bool opened = false;
        QTimer::singleShot(0, w.get(), [&] {
            if (auto* dialog = qobject_cast<frmCResize*>(QApplication::activeModalWidget())) {
                opened = true;
                work(*dialog);
                if (dialog->isVisible())
                    dialog->reject();
            }
        });
        w->Command10->click();
        return opened;
    }
    static void pressEnter(QWidget* target) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, "\r");
        QCoreApplication::sendEvent(target, &press);
    }
};

TEST_F(ResizeWindow, EachCommandResizesInTheFrameAndUndoBringsThePictureBack) {
    struct Case {
        QAction* item;
        PictureSize size;
        ResizeDrawing drawing;
    };
    const Case cases[] = {
        {w->mnuHalfSize, {160, 120}, ResizeDrawing::Stretch},
        {w->mnuCutIHR, {160, 120}, ResizeDrawing::Resample},
        {w->mnuDSize, {642, 482}, ResizeDrawing::Stretch},
        {w->mnuDSizeR, {642, 482}, ResizeDrawing::Resample},
    };
    const Picture before = gradient(321, 241);
    for (const Case& c : cases) {
        const std::string name = qt::fromQ(c.item->objectName());
        setWorking(before);
        c.item->trigger();
        EXPECT_EQ(shown(), expected(before, c.size, c.drawing)) << name;
        EXPECT_EQ(w->srcPic->size(), QSize(c.size.width, c.size.height)) << name;
        EXPECT_EQ(status(), "0x0 of " + std::to_string(c.size.width) + "x" +
                                std::to_string(c.size.height) + " (Idle)")
            << name;
        EXPECT_TRUE(state.ImageChanged) << name;
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << name;
        // The scroll bars follow the new size.
        EXPECT_EQ(w->HScroll1->isEnabled(), c.size.width > 404) << name;
        w->mnuUndo_Click();
        EXPECT_EQ(shown(), before) << "undo after " << name;
    }
}

TEST_F(ResizeWindow, HalvingAOnePixelSideChangesNothing) {
    for (const Picture& thin : {gradient(1, 9), gradient(9, 1), gradient(1, 1)}) {
        for (auto handler :
             {&frmMain::mnuHalfSize_Click, &frmMain::mnuCutIHR_Click, &frmMain::Command8_Click}) {
            setWorking(thin);
            ((*w).*handler)();
            EXPECT_EQ(shown(), thin) << thin.width() << "x" << thin.height();
            EXPECT_EQ(status(), "before");
            EXPECT_FALSE(state.ImageChanged);
            EXPECT_FALSE(undoSaved());
        }
    }
    // Doubling still works on them.
    setWorking(gradient(1, 9));
    w->mnuDSizeR_Click();
    EXPECT_EQ(shown(), expected(gradient(1, 9), {2, 18}, ResizeDrawing::Resample));
}

TEST_F(ResizeWindow, WithoutTheNewPictureNothingChanges) {
    // A picture whose double would be wider than the picture layer allows.
    const Picture wide(20000, 2, 0x00336699);
    setWorking(wide);
    w->mnuDSize_Click();
    w->mnuDSizeR_Click();
    EXPECT_EQ(shown(), wide);
    EXPECT_FALSE(state.ImageChanged);
    EXPECT_FALSE(undoSaved());
    EXPECT_EQ(status(), "before");
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(ResizeWindow, WithoutMemoryForTheNewSurfaceNothingChanges) {
    // The double size needs a 64 MiB scratch picture and a 64 MiB surface; there is room for one.
    const Picture large(2048, 2048, 0x00336699);
    setWorking(large);
    for (void (frmMain::*handler)() : {&frmMain::mnuDSize_Click, &frmMain::mnuDSizeR_Click}) {
        // The scratch picture keeps the memory it was given; each command starts without it.
        w->flipPic->box().surface() = Picture();
        {
            testing::AddressSpaceLimit limit(std::size_t{80} << 20);
            if (!limit.active())
                GTEST_SKIP() << "the address space cannot be limited here";
            ((*w).*handler)();
        }
        EXPECT_TRUE(shown() == large);
        EXPECT_TRUE(w->srcPic->box().surface() == large);
        EXPECT_FALSE(state.ImageChanged);
        EXPECT_FALSE(undoSaved());
        EXPECT_EQ(status(), "before");
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    }
}

// The undo copy never stops a resize: where it cannot be written the picture still changes, and
// Undo is unavailable afterwards.
TEST_F(ResizeWindow, WithoutTheUndoCopyTheResizeRunsAndLeavesNothingToUndo) {
    blockUndoCopies();
    const Picture before = gradient(321, 241);
    struct Case {
        const char* name;
        void (frmMain::*handler)();
        PictureSize size;
        ResizeDrawing drawing;
    };
    const Case cases[] = {
        {"half", &frmMain::mnuHalfSize_Click, {160, 120}, ResizeDrawing::Stretch},
        {"double resampled", &frmMain::mnuDSizeR_Click, {642, 482}, ResizeDrawing::Resample},
    };
    for (const Case& c : cases) {
        setWorking(before);
        ((*w).*c.handler)();
        EXPECT_EQ(shown(), expected(before, c.size, c.drawing)) << c.name;
        EXPECT_EQ(w->srcPic->size(), QSize(c.size.width, c.size.height)) << c.name;
        EXPECT_TRUE(state.ImageChanged) << c.name;
        EXPECT_EQ(status(), "0x0 of " + std::to_string(c.size.width) + "x" +
                                std::to_string(c.size.height) + " (Idle)")
            << c.name;
        EXPECT_FALSE(undoOffered()) << c.name;
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << c.name;
    }
}

TEST_F(ResizeWindow, SizeModesMoveTheirCheckStoreAndChooseWhatTheButtonsRun) {
    const Picture before = gradient(321, 241);
    // Factory settings: both buttons run the plain variants.
    w->Command8->click();
    EXPECT_EQ(shown(), expected(before, {160, 120}, ResizeDrawing::Stretch));
    setWorking(before);
    w->Command9->click();
    EXPECT_EQ(shown(), expected(before, {642, 482}, ResizeDrawing::Stretch));

    w->mnuResample1->trigger();
    EXPECT_TRUE(w->mnuResample1->isChecked());
    EXPECT_FALSE(w->mnuHidResize1->isChecked());
    EXPECT_EQ(setting("SizeMode1"), "2");
    EXPECT_EQ(setting("SizeMode2"), "<none>");
    setWorking(before);
    w->Command8->click();
    EXPECT_EQ(shown(), expected(before, {160, 120}, ResizeDrawing::Resample));
    // The grow button is not affected.
    setWorking(before);
    w->Command9->click();
    EXPECT_EQ(shown(), expected(before, {642, 482}, ResizeDrawing::Stretch));

    w->mnuResample2->trigger();
    EXPECT_EQ(setting("SizeMode2"), "2");
    setWorking(before);
    w->Command9->click();
    EXPECT_EQ(shown(), expected(before, {642, 482}, ResizeDrawing::Resample));

    // Choosing the checked item again keeps it checked; the modes go back to plain.
    w->mnuHidResize1->trigger();
    w->mnuHidResize1->trigger();
    w->mnuResize2->trigger();
    EXPECT_TRUE(w->mnuHidResize1->isChecked());
    EXPECT_FALSE(w->mnuResample1->isChecked());
    EXPECT_TRUE(w->mnuResize2->isChecked());
    EXPECT_FALSE(w->mnuResample2->isChecked());
    EXPECT_EQ(setting("SizeMode1"), "1");
    EXPECT_EQ(setting("SizeMode2"), "1");

    // A choice made here is the one the next start shows.
    w->mnuResample2->trigger();
    auto next = openMain();
    EXPECT_TRUE(next->mnuHidResize1->isChecked());
    EXPECT_TRUE(next->mnuResample2->isChecked());
}

TEST_F(ResizeWindow, TheRightButtonOverShrinkOrGrowPopsUpItsSizeMenuAndResizesNothing) {
    w->show();
    const Picture before = shown();
    struct Case {
        QPushButton* button;
        QMenu* menu;
    };
    for (const Case& c : {Case{w->Command8, w->mnuHidSize1}, Case{w->Command9, w->mnuHidSize2}}) {
        // The middle button does nothing; the left one is the button's click.
        QTest::mouseClick(c.button, Qt::MiddleButton);
        EXPECT_FALSE(c.menu->isVisible());
        QTest::mouseClick(c.button, Qt::RightButton, Qt::NoModifier, QPoint(10, 5));
        EXPECT_TRUE(c.menu->isVisible()) << qt::fromQ(c.menu->objectName());
        c.menu->hide();
        EXPECT_EQ(shown(), before);
        EXPECT_FALSE(state.ImageChanged);
    }
}

TEST_F(ResizeWindow, TheDialogOpensWithTheSizeTwiceAndOkDisabled) {
    setWorking(gradient(320, 240));
    const bool opened = inDialog([&](frmCResize& d) {
        EXPECT_EQ(d.windowTitle(), "Custom Resize");
        EXPECT_EQ(w->resizeDialog(), &d);
        EXPECT_EQ(d.Label5->text(), "320");
        EXPECT_EQ(d.Label6->text(), "240");
        EXPECT_EQ(d.Text1->text(), "320");
        EXPECT_EQ(d.Text2->text(), "240");
        EXPECT_FALSE(d.Command1->isEnabled());
        // Factory settings: both boxes ticked, and stored as the load ticked them.
        EXPECT_TRUE(d.Check1->isChecked());
        EXPECT_TRUE(d.Check2->isChecked());
        EXPECT_EQ(d.Check1->toolTip(),
                  "When selected, the width and height will adhere to a 1:1 ratio.");
        EXPECT_EQ(d.Text1->font(), qt::designFont());
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(w->resizeDialog(), nullptr);
    EXPECT_EQ(setting("Constrain"), "1");
    EXPECT_EQ(setting("Resample"), "1");
    EXPECT_FALSE(state.ImageChanged);
}

TEST_F(ResizeWindow, TheCheckBoxesComeFromTheirSettingsAndAreStoredAtEveryChange) {
    store("Constrain", "0");
    store("Resample", "x");
    store("Tooltips", "0");
    ASSERT_TRUE(inDialog([&](frmCResize& d) {
        EXPECT_FALSE(d.Check1->isChecked());
        EXPECT_TRUE(d.Check2->isChecked());
        EXPECT_EQ(d.Text1->toolTip(), "");
        d.Check1->click();
        EXPECT_EQ(setting("Constrain"), "1");
        d.Check2->click();
        EXPECT_EQ(setting("Resample"), "0");
    }));
    // The resample box's stored "x" was replaced when the load ticked it.
    store("Resample", "0");
    ASSERT_TRUE(inDialog([&](frmCResize& d) { EXPECT_FALSE(d.Check2->isChecked()); }));
}

TEST_F(ResizeWindow, ConstrainedEditsKeepTheProportions) {
    setWorking(gradient(320, 240));
    ASSERT_TRUE(inDialog([&](frmCResize& d) {
        struct Case {
            QLineEdit* edited;
            const char* text;
            QLineEdit* other;
            const char* expected;
        };
        const Case cases[] = {
            {d.Text1, "160", d.Text2, "120"}, {d.Text1, "100", d.Text2, "75"},
            {d.Text1, "333", d.Text2, "249"}, {d.Text2, "100", d.Text1, "133"},
            {d.Text1, "12.5", d.Text2, "9"},
        };
        for (const Case& c : cases) {
            c.edited->setText(c.text);
            EXPECT_EQ(c.other->text().toStdString(), c.expected) << c.text;
            EXPECT_EQ(c.edited->text().toStdString(), c.text) << "the boxes drive each other";
            EXPECT_TRUE(d.Command1->isEnabled()) << c.text;
            EXPECT_TRUE(d.Text1Tag.empty() && d.Text2Tag.empty());
        }
        // An overflowing product leaves the other box and disables OK.
        d.Text1->setText("9000000");
        EXPECT_EQ(d.Text2->text(), "9");
        EXPECT_FALSE(d.Command1->isEnabled());
        // Unticked, an edit leaves the other box alone; ticking it changes nothing by itself.
        d.Check1->setChecked(false);
        d.Text1->setText("200");
        EXPECT_EQ(d.Text2->text(), "9");
        d.Check1->setChecked(true);
        EXPECT_EQ(d.Text2->text(), "9");
    }));
}

TEST_F(ResizeWindow, OkIsEnabledOnlyForANewSizeAndEnterRunsItThen) {
    setWorking(gradient(320, 240));
    store("Constrain", "0");
    ASSERT_TRUE(inDialog([&](frmCResize& d) {
        struct Case {
            const char* width;
            bool ok;
        };
        const Case cases[] = {{"320", false},   {"320.0", true},  {"0", false},
                              {"-5", false},    {"abc", false},   {"", false},
                              {"1,000", false}, {"32768", false}, {"321", true}};
        for (const Case& c : cases) {
            d.Text1->setText(c.width);
            EXPECT_EQ(d.Command1->isEnabled(), c.ok) << "'" << c.width << "'";
        }
        // Enter with OK disabled does nothing.
        d.Text1->setText("abc");
        pressEnter(d.Text1);
        pressEnter(d.Text2);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.Text1->text(), "abc");
        // With OK enabled it resizes and closes, and the key is not typed.
        d.Text1->setText("320.0");
        pressEnter(d.Text2);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.Text2->text(), "240");
    }));
    // 320.0 resizes to the same 320 x 240, resampled: the corner-anchored mapping changes it.
    EXPECT_EQ(shown(), expected(gradient(320, 240), {320, 240}, ResizeDrawing::Resample));
    EXPECT_TRUE(state.ImageChanged);
}

TEST_F(ResizeWindow, OkResizesWithOrWithoutResamplingAndUndoRestores) {
    const Picture before = gradient(320, 240);
    struct Case {
        bool resample;
        const char* status;
    };
    for (const Case& c : {Case{true, "0x0 of 200x100 (Idle)"}, Case{false, "0x0 of 200x100"}}) {
        setWorking(before);
        store("Resample", c.resample ? "1" : "0");
        store("Constrain", "0");
        ASSERT_TRUE(inDialog([&](frmCResize& d) {
            d.Text1->setText("200");
            d.Text2->setText("100");
            d.Command1->click();
            EXPECT_FALSE(d.isVisible());
        }));
        const ResizeDrawing drawing = c.resample ? ResizeDrawing::Resample : ResizeDrawing::Stretch;
        EXPECT_EQ(shown(), expected(before, {200, 100}, drawing)) << c.resample;
        EXPECT_EQ(w->srcPic->size(), QSize(200, 100));
        EXPECT_EQ(status(), c.status);
        EXPECT_TRUE(state.ImageChanged);
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
        w->mnuUndo_Click();
        EXPECT_EQ(shown(), before) << "undo after " << c.resample;
    }
    // 12.5 draws 12 columns.
    setWorking(before);
    store("Resample", "1");
    ASSERT_TRUE(inDialog([&](frmCResize& d) {
        d.Check1->setChecked(false);
        d.Text1->setText("12.5");
        d.Text2->setText("9");
        d.Command1->click();
    }));
    EXPECT_EQ(shown(), expected(before, {12, 9}, ResizeDrawing::Resample));
}

TEST_F(ResizeWindow, CancelAndClosingChangeNothing) {
    const Picture before = shown();
    for (bool cancel : {true, false}) {
        ASSERT_TRUE(inDialog([&](frmCResize& d) {
            d.Text1->setText("100");
            if (cancel) {
                d.Command2->click();
            } else {
                d.close();
            }
            EXPECT_FALSE(d.isVisible());
        }));
        EXPECT_EQ(shown(), before);
        EXPECT_FALSE(state.ImageChanged);
        EXPECT_FALSE(undoSaved());
    }
    // The menu item opens the same dialog.
    bool opened = false;
    QTimer::singleShot(0, w.get(), [&] {
        if (auto* dialog = qobject_cast<frmCResize*>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->reject();
        }
    });
    w->mnuCResize->trigger();
    EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace tess
