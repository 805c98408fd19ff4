#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <functional>

#include "ShellFixture.h"
#include "platform/qt/Controls.h"
#include "shell/frmCSS.h"

namespace tess {
namespace {

class OptionControls : public ShellFixture {
  protected:
    // Chooses the font-size list's entry as the user does and works the CSS dialog that may open.
    // Returns whether a dialog opened.
    bool chooseFontSize(frmMain& w, int index, std::function<void(frmCSS&)> inDialog) {
        bool opened = false;
        QTimer::singleShot(0, &w, [&] {
            if (auto* dialog = qobject_cast<frmCSS*>(QApplication::activeModalWidget())) {
                opened = true;
                inDialog(*dialog);
                if (dialog->isVisible())
                    dialog->reject();
            }
        });
        w.Combo1->setCurrentIndex(index);
        emit w.Combo1->activated(index);
        if (!opened)
            QCoreApplication::processEvents();
        return opened;
    }

    static void pressKey(QWidget* target, int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &press);
    }
};

TEST_F(OptionControls, TheCssDialogIsCentredOnTheMainWindow) {
    auto w = openMain();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    w->move(screen.left() + 10, screen.top() + 10);
    w->show();
    QPoint centre;
    ASSERT_TRUE(chooseFontSize(*w, 8, [&](frmCSS& css) { centre = css.frameGeometry().center(); }));
    const QPoint expected = w->frameGeometry().center();
    ASSERT_GT((expected - screen.center()).manhattanLength(), 40);
    EXPECT_LE((centre - expected).manhattanLength(), 4) << centre.x() << "," << centre.y();
}

TEST_F(OptionControls, CustomCssSizeDialogOpensWithTheCurrentSize) {
    auto w = openMain();
    const bool opened = chooseFontSize(*w, 8, [&](frmCSS& css) {
        // The caption, cut at its end where the title bar cannot hold it, never in the middle.
        const QString caption = "Custom CSS Font Size Selection";
        EXPECT_EQ(css.windowTitle(), qt::fittedTitle(css, caption));
        EXPECT_TRUE(css.windowTitle() == caption ||
                    (css.windowTitle().endsWith(QChar(0x2026)) &&
                     caption.startsWith(css.windowTitle().chopped(1))))
            << css.windowTitle().toStdString();
        EXPECT_EQ(css.width(), 304);
        EXPECT_EQ(css.Text1->text(), "60%");
        EXPECT_EQ(css.spinValue(), 60);
        EXPECT_TRUE(css.Option1->isChecked());
        EXPECT_TRUE(css.Text1->isReadOnly());
        EXPECT_EQ(w->cssDialog(), &css);
    });
    EXPECT_TRUE(opened);
    EXPECT_EQ(w->cssDialog(), nullptr);
}

TEST_F(OptionControls, CustomCssSizeTwelvePixels) {
    auto w = openMain();
    ASSERT_TRUE(chooseFontSize(*w, 8, [](frmCSS& css) {
        css.setSpinValue(12);
        EXPECT_EQ(css.Text1->text(), "12%");
        css.Option2->click();
        EXPECT_EQ(css.Text1->text(), "12px");
        css.Command1->click();
    }));
    EXPECT_EQ(w->Combo1->count(), 9);
    EXPECT_EQ(w->Combo1->itemText(8), "CSS - Custom... (12px)");
    EXPECT_EQ(w->Combo1->currentIndex(), 8);
    EXPECT_EQ(state.CSSSize, 12);
    EXPECT_EQ(state.CSSUnit, "px");

    // Choosing the entry again opens the dialog again, at the chosen size and unit.
    EXPECT_TRUE(chooseFontSize(*w, 8, [](frmCSS& css) {
        EXPECT_EQ(css.Text1->text(), "12px");
        EXPECT_TRUE(css.Option2->isChecked());
    }));
}

TEST_F(OptionControls, SpinBarRunsFromZeroAtTheBottomToHundredAtTheTop) {
    auto w = openMain();
    ASSERT_TRUE(chooseFontSize(*w, 8, [](frmCSS& css) {
        css.VScroll1->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the up arrow
        EXPECT_EQ(css.spinValue(), 61);
        css.VScroll1->triggerAction(QAbstractSlider::SliderToMinimum);  // the top end
        EXPECT_EQ(css.spinValue(), 100);
        css.VScroll1->triggerAction(QAbstractSlider::SliderToMaximum);  // the bottom end
        EXPECT_EQ(css.spinValue(), 0);
        css.Option3->click();
        css.Command1->click();
    }));
    EXPECT_EQ(w->Combo1->itemText(8), "CSS - Custom... (0pt)");
    EXPECT_EQ(state.CSSSize, 0);
}

TEST_F(OptionControls, EnterInTheSpinBarOrTheTextActsAsOk) {
    auto w = openMain();
    for (bool inText : {false, true}) {
        ASSERT_TRUE(chooseFontSize(*w, 8, [&](frmCSS& css) {
            css.setSpinValue(inText ? 30 : 40);
            pressKey(inText ? static_cast<QWidget*>(css.Text1) : css.VScroll1, Qt::Key_Return);
            EXPECT_FALSE(css.isVisible());
        }));
        EXPECT_EQ(state.CSSSize, inText ? 30 : 40);
    }
    EXPECT_EQ(w->Combo1->itemText(8), "CSS - Custom... (30%)");
}

// A held Enter key repeats: the presses that arrive after the dialog has closed do nothing.
TEST_F(OptionControls, EnterAfterTheDialogHasClosedDoesNothing) {
    auto w = openMain();
    int reopened = 0;
    // Closes any dialog that opens again, so the test ends either way.
    QTimer closer;
    closer.setInterval(0);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* again = qobject_cast<frmCSS*>(QApplication::activeModalWidget())) {
            ++reopened;
            again->reject();
        }
    });
    ASSERT_TRUE(chooseFontSize(*w, 8, [&](frmCSS& css) {
        css.setSpinValue(20);
        pressKey(css.VScroll1, Qt::Key_Return);
        ASSERT_FALSE(css.isVisible());
        closer.start();
        css.setSpinValue(70);
        pressKey(css.VScroll1, Qt::Key_Return);
        pressKey(css.Text1, Qt::Key_Enter);
    }));
    closer.stop();
    EXPECT_EQ(reopened, 0);
    EXPECT_EQ(state.CSSSize, 20);
    EXPECT_EQ(w->Combo1->count(), 9);
    EXPECT_EQ(w->Combo1->itemText(8), "CSS - Custom... (20%)");
}

TEST_F(OptionControls, TheSizeTextPassesTheFocusToTheSpinBar) {
    auto w = openMain();
    ASSERT_TRUE(chooseFontSize(*w, 8, [](frmCSS& css) {
        css.activateWindow();
        QCoreApplication::processEvents();
        if (!css.isActiveWindow())
            GTEST_SKIP() << "the platform gives no window activation";
        css.Text1->setFocus();
        QCoreApplication::processEvents();
        EXPECT_EQ(css.focusWidget(), css.VScroll1);
    }));
}

TEST_F(OptionControls, CancelKeepsTheSizeButNotTheUnit) {
    auto w = openMain();
    ASSERT_TRUE(chooseFontSize(*w, 8, [](frmCSS& css) {
        css.setSpinValue(25);
        css.Option3->click();
        css.Command2->click();
    }));
    EXPECT_EQ(state.CSSSize, 60);
    EXPECT_EQ(state.CSSUnit, "pt");
    EXPECT_EQ(w->Combo1->itemText(8), "CSS - Custom...");
}

TEST_F(OptionControls, NoDialogForOtherEntriesOrWhileAProjectSelectsTheCustomEntry) {
    auto w = openMain();
    EXPECT_FALSE(chooseFontSize(*w, 3, [](frmCSS&) {}));
    state.NoCSSDialog = true;
    EXPECT_FALSE(chooseFontSize(*w, 8, [](frmCSS&) {}));
}

TEST_F(OptionControls, CssDialogTooltipsFollowTheSetting) {
    store("Tooltips", "0");
    auto w = openMain();
    ASSERT_TRUE(chooseFontSize(*w, 8, [](frmCSS& css) {
        for (QWidget* control : std::initializer_list<QWidget*>{
                 css.Option1, css.Option2, css.Option3, css.Text1, css.Command1, css.Command2}) {
            EXPECT_TRUE(control->toolTip().isEmpty()) << control->objectName().toStdString();
        }
    }));
}

TEST_F(OptionControls, ModeChoiceSwitchesTheCustomTextControls) {
    auto w = openMain();
    w->selectComboIndex(w->Combo2, 0);
    for (QWidget* control : {static_cast<QWidget*>(w->Text3), static_cast<QWidget*>(w->Command4),
                             static_cast<QWidget*>(w->Combo3), static_cast<QWidget*>(w->Label27)}) {
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    }
    EXPECT_EQ(w->Text3->selectedText(), "tessaryn q4");

    w->selectComboIndex(w->Combo2, 6);
    EXPECT_FALSE(w->Text3->isEnabled());
    EXPECT_FALSE(w->Combo3->isEnabled());

    // Already disabled: "Binary" leaves the four as they are.
    w->Combo3->setEnabled(true);
    w->selectComboIndex(w->Combo2, 3);
    EXPECT_TRUE(w->Combo3->isEnabled());
    EXPECT_FALSE(w->Text3->isEnabled());
    EXPECT_FALSE(w->Text3->isReadOnly());
}

TEST_F(OptionControls, BackgroundColourFromTheSwatchOrTheMenu) {
    auto w = openMain();
    dialogs.answerColour(0x0000FF);
    emit w->Picture5->clicked();
    EXPECT_EQ(w->CommonDialog1.Color, 0x0000FF);
    EXPECT_EQ(w->Picture5->box().backColor(), 0x0000FF);
    ASSERT_EQ(dialogs.colours().size(), 1u);
    EXPECT_EQ(dialogs.colours()[0].initial, 0);
    EXPECT_EQ(dialogs.colours()[0].flags, 1);

    // A cancelled dialog keeps the colour, and the next one starts from it.
    dialogs.cancelColour();
    w->mnuBGColor->trigger();
    EXPECT_EQ(w->CommonDialog1.Color, 0x0000FF);
    EXPECT_EQ(w->Picture5->box().backColor(), 0x0000FF);
    ASSERT_EQ(dialogs.colours().size(), 2u);
    EXPECT_EQ(dialogs.colours()[1].initial, 0x0000FF);
}

TEST_F(OptionControls, TheLibraryEntryPointIsEnabledAgainAfterAFileThatIsNoLibrary) {
    touch(inProgram("Graphics/default.tgl"));
    auto w = openMain();
    w->mnuGFXLib->trigger();
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt, "Unable to load graphics library.");
    EXPECT_TRUE(w->mnuGFXLib->isEnabled());
    EXPECT_TRUE(w->Command11->isEnabled());
    EXPECT_EQ(w->libraryBrowser(), nullptr);
}

}  // namespace
}  // namespace tess
