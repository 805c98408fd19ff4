// The main window's periphery: preferences, recent files, window position, transparency, sibling
// programs, web commands, the about panel and the remaining toolbar buttons.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>

#include "ShellFixture.h"
#include "platform/Files.h"
#include "shell/SharedFunctions.h"
#include "shell/Trans.h"
#include "shell/VisualStyle.h"

namespace tess {
namespace {

using Periphery = ShellFixture;

QSize screenSize() {
    return QGuiApplication::primaryScreen()->geometry().size();
}

// ---- Preferences ----

TEST_F(Periphery, PreferencesOpenWithTheFactoryDefaultsOnAnEmptyStore) {
    auto w = openMain();
    w->mnuSettings_Click();
    EXPECT_FALSE(w->HIDESET->isHidden());
    EXPECT_EQ(w->HIDESET->geometry(), w->SSTab1->geometry());
    EXPECT_TRUE(w->Check1b->isChecked());
    EXPECT_TRUE(w->Check2b->isChecked());
    EXPECT_TRUE(w->Check2->isChecked());
    EXPECT_EQ(w->Combo1b->currentText(), "-1");
    EXPECT_EQ(w->Combo1b->count(), 8);
    EXPECT_EQ(w->Combo2b->currentText(), "Binary");
    EXPECT_EQ(w->Combo3b->currentText(), "+");
    EXPECT_EQ(w->Combo3b->count(), 5);
    EXPECT_FALSE(w->Combo3b->isEnabled());
    EXPECT_EQ(w->Combo4b->currentText(), "No");
    EXPECT_EQ(w->Combo5b->currentText(), "Normal");
    EXPECT_EQ(w->Picture3b->box().backColor(), 0u);
    EXPECT_FALSE(w->Command1b->isEnabled());
}

TEST_F(Periphery, PreferencesShowTheStoredValuesAndFallBackOnBadOnes) {
    store("Splash", "0");
    store("Tooltips", "2");  // not 0 or 1: ticked
    store("FontSize", "5");
    store("Mode", "6");
    store("Spacer", "9");
    store("Browser", "0");
    store("Priority", "1");
    store("BGColor", "255");
    auto w = openMain();
    w->mnuSettings_Click();
    EXPECT_FALSE(w->Check1b->isChecked());
    EXPECT_TRUE(w->Check2b->isChecked());
    EXPECT_EQ(w->Combo1b->currentText(), "CSS - 30%");
    EXPECT_EQ(w->Combo2b->currentText(), "Smart Text");
    EXPECT_TRUE(w->Combo3b->isEnabled());
    EXPECT_EQ(w->Combo3b->currentText(), "+");
    EXPECT_EQ(w->Combo4b->currentText(), "Yes");
    EXPECT_EQ(w->Combo5b->currentText(), "High");
    EXPECT_EQ(w->Picture3b->box().backColor(), 255u);
}

TEST_F(Periphery, TheModeDecidesWhetherTheSpacerListIsOpen) {
    auto w = openMain();
    w->mnuSettings_Click();
    for (int mode = 0; mode < 7; ++mode) {
        w->selectComboIndex(w->Combo2b, mode);
        EXPECT_EQ(w->Combo3b->isEnabled(), mode == 0 || mode == 6) << mode;
    }
}

TEST_F(Periphery, AChangeEnablesApplyAndCancelBringsTheStoredValuesBack) {
    auto w = openMain();
    w->mnuSettings_Click();
    w->Check1b->setChecked(false);
    EXPECT_TRUE(w->Command1b->isEnabled());
    w->Command3b_Click();
    EXPECT_TRUE(w->HIDESET->isHidden());
    EXPECT_TRUE(w->Check1b->isChecked());
    EXPECT_FALSE(w->Command1b->isEnabled());
    EXPECT_EQ(setting("Splash"), "<none>");  // nothing written
}

TEST_F(Periphery, ApplyWritesEverySettingAndTheManifestThenOffersTheRestart) {
    touch(inProgram("Tessaryn"));
    auto w = openMain();
    w->mnuSettings_Click();
    w->Check2b->setChecked(false);
    w->selectComboIndex(w->Combo1b, 2);
    w->selectComboIndex(w->Combo2b, 0);
    w->selectComboIndex(w->Combo3b, 4);
    dialogs.answerMsgBox(mb::No);
    w->Command1b_Click();

    EXPECT_EQ(setting("Splash"), "1");
    EXPECT_EQ(setting("Tooltips"), "0");
    EXPECT_EQ(setting("DisplayMode"), "1");
    EXPECT_EQ(setting("FontSize"), "2");
    EXPECT_EQ(setting("Mode"), "0");
    EXPECT_EQ(setting("Spacer"), "4");
    EXPECT_EQ(setting("Browser"), "1");
    EXPECT_EQ(setting("Priority"), "0");
    EXPECT_EQ(setting("BGColor"), "0");
    EXPECT_TRUE(manifestPresent(programFolder));

    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Restart tessaryn q4 now?");
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              "You must restart tessaryn q4 for changes to take affect!\r\n\r\n"
              "Would you like to restart tessaryn q4 now?");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::YesNo | mb::Question | mb::DefaultButton2);
    EXPECT_TRUE(shell.started().empty());
    EXPECT_TRUE(w->HIDESET->isHidden());
    EXPECT_FALSE(w->Command1b->isEnabled());
    EXPECT_EQ(w->Label8b->palette().color(QPalette::WindowText), QColor(Qt::red));
    // Any tab click turns the note black again.
    w->SSTab1->setCurrentIndex(2);
    EXPECT_EQ(w->Label8b->palette().color(QPalette::WindowText), QColor(Qt::black));

    // Unticking XP Buttons deletes the manifest.
    w->mnuSettings_Click();
    w->Check2->setChecked(false);
    dialogs.answerMsgBox(mb::No);
    w->Command1b_Click();
    EXPECT_FALSE(manifestPresent(programFolder));
}

TEST_F(Periphery, TheRestartStartsTheProgramLastAndEndsThisInstance) {
    touch(inProgram("Tessaryn"));
    auto w = openMain();
    w->mnuSettings_Click();
    w->selectComboIndex(w->Combo5b, 1);
    dialogs.answerMsgBox(mb::Yes);
    w->Command1b_Click();
    ASSERT_EQ(shell.started().size(), 1u);
    EXPECT_EQ(shell.started()[0].program, inProgram("Tessaryn"));
    EXPECT_EQ(shell.started()[0].argument, "");
    EXPECT_EQ(setting("Priority"), "1");
    EXPECT_EQ(programEnds, 1);
}

TEST_F(Periphery, ARestartThatCannotStartSaysARestartIsNeededAndKeepsTheSettings) {
    touch(inProgram("Tessaryn"));
    shell.setStartResult(Error{errc::Generic, "no"});
    auto w = openMain();
    w->mnuSettings_Click();
    w->selectComboIndex(w->Combo5b, 1);
    dialogs.answerMsgBox(mb::Yes);
    w->Command1b_Click();
    EXPECT_EQ(programEnds, 0);
    ASSERT_EQ(dialogs.msgBoxes().size(), 2u);
    EXPECT_EQ(dialogs.msgBoxes()[1].prompt,
              "You must restart tessaryn q4 for changes to take affect!");
    EXPECT_EQ(setting("Priority"), "1");
}

TEST_F(Periphery, WithoutTheProgramFileApplyOnlySaysARestartIsNeeded) {
    auto w = openMain();
    w->mnuSettings_Click();
    w->Command1b_Click();
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "tessaryn q4");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::OKOnly | mb::Information);
    EXPECT_TRUE(w->HIDESET->isHidden());
}

TEST_F(Periphery, DefaultsResetTheControlsWithoutWriting) {
    store("Mode", "0");
    store("BGColor", "255");
    auto w = openMain();
    w->mnuSettings_Click();
    w->Check2->setChecked(false);
    w->Command2b_Click();
    EXPECT_TRUE(w->Check2->isChecked());  // the desktop counts as XP or later
    EXPECT_EQ(w->Combo2b->currentText(), "Binary");
    EXPECT_FALSE(w->Combo3b->isEnabled());
    EXPECT_EQ(w->Combo4b->currentText(), "No");
    EXPECT_EQ(w->Picture3b->box().backColor(), 0u);
    EXPECT_TRUE(w->Command1b->isEnabled());
    EXPECT_EQ(setting("Mode"), "0");
}

TEST_F(Periphery, TheSwatchOpensTheColourDialogByClickSpaceAndEnter) {
    auto w = openMain();
    w->mnuSettings_Click();
    dialogs.cancelColour();
    w->Picture3b_Click();
    EXPECT_FALSE(w->Command1b->isEnabled());  // a cancel changes nothing

    dialogs.answerColour(0x0000FF);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier);
    emit w->Picture3b->keyPressed(&space);
    EXPECT_EQ(w->Picture3b->box().backColor(), 0x0000FFu);
    EXPECT_TRUE(w->Command1b->isEnabled());

    dialogs.answerColour(0x00FF00);
    w->Picture3b_KeyDown(Qt::Key_Return, 0);
    EXPECT_EQ(w->Picture3b->box().backColor(), 0x00FF00u);
    w->Picture3b_KeyDown(Qt::Key_A, 0);
    EXPECT_EQ(dialogs.colours().size(), 3u);

    w->Picture3b_GotFocus();
    EXPECT_FALSE(w->Shape1->isHidden());
    EXPECT_EQ(w->Shape1->geometry(), QRect(w->Picture3b->x() - 2, w->Picture3b->y() - 2,
                                           w->Picture3b->width() + 3, w->Picture3b->height() + 3));
    w->Picture3b_LostFocus();
    EXPECT_TRUE(w->Shape1->isHidden());
}

TEST_F(Periphery, ATabClickSummarisesTheOptionsWithTheTitleAsItStands) {
    auto w = openMain();
    w->Text4->setText("<b>Cats & Dogs</b>");
    w->SSTab1->setCurrentIndex(2);
    EXPECT_EQ(w->Label29->text(), "Font Size: -1, Spacer: +, Mode: Binary");
    EXPECT_EQ(w->Label9->text(), "Page Caption: <b>Cats & Dogs</b>");
    w->Command14_Click();
    EXPECT_EQ(w->SSTab1->currentIndex(), 1);
}

// ---- Recent files ----

TEST_F(Periphery, TheMenuShowsTheValidStoredEntriesRenumbered) {
    const std::string a = inProgram("a.tpw"), b = inProgram("b.tpw"), c = inProgram("R&D.tpw"),
                      d = inProgram("d.tpw");
    for (const std::string& path : {a, c, d})
        touch(path);
    store("LastFile1", a);
    store("LastFile2", b);  // deleted
    store("LastFile3", c);
    store("LastFile4", d);
    auto w = openMain();
    EXPECT_TRUE(w->mnuLineBRLF->isVisible());
    EXPECT_EQ(w->mnuPreviousFiles[0]->text().toStdString(), "&1. " + ShortFileName(a));
    EXPECT_NE(w->mnuPreviousFiles[1]->text().toStdString().find("R&&D.tpw"), std::string::npos);
    EXPECT_TRUE(w->mnuPreviousFiles[2]->isVisible());
    EXPECT_FALSE(w->mnuPreviousFiles[3]->isVisible());
    EXPECT_EQ(w->PrevFiles[1], c);
    EXPECT_EQ(setting("LastFile2"), b);  // the store keeps it until a save

    // Adding a project prunes the list and stores it.
    const std::string e = inProgram("e.tpw");
    touch(e);
    w->PreviousFilesArray(e);
    EXPECT_EQ(setting("LastFile1"), e);
    EXPECT_EQ(setting("LastFile2"), a);
    EXPECT_EQ(setting("LastFile3"), c);
    EXPECT_EQ(setting("LastFile4"), d);
}

TEST_F(Periphery, AMissingRecentFileIsReportedAndLeavesTheMenu) {
    const std::string a = inProgram("a.tpw"), b = inProgram("b.tpw");
    touch(a);
    touch(b);
    store("LastFile1", a);
    store("LastFile2", b);
    auto w = openMain();
    std::remove(a.c_str());
    w->mnuPreviousFiles_Click(0);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Cannot Find File");
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              a + "\r\nCannot find this file.\r\n"
                  "Please verify that the correct path and file name are given.");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::OKOnly | mb::Exclamation);
    EXPECT_EQ(setting("LastFile1"), "");
    EXPECT_EQ(setting("LastFile2"), b);
    EXPECT_EQ(w->mnuPreviousFiles[0]->text().toStdString(), "&1. " + ShortFileName(b));
    EXPECT_FALSE(w->mnuPreviousFiles[1]->isVisible());

    std::remove(b.c_str());
    w->mnuPreviousFiles_Click(0);
    EXPECT_FALSE(w->mnuLineBRLF->isVisible());
    EXPECT_TRUE(w->mnuLoadProj->isEnabled());
}

TEST_F(Periphery, AnExistingRecentFileGoesToTheProjectReaderWithTheMenuBackAfter) {
    const std::string a = inProgram("a.tpw");
    touch(a);
    store("LastFile1", a);
    auto w = openMain();
    w->mnuPreviousFiles_Click(0);
    EXPECT_TRUE(w->mnuLoadProj->isEnabled());
    EXPECT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_NE(dialogs.msgBoxes()[0].title, "Cannot Find File");
}

TEST_F(Periphery, TheTextPatternItemIsOpenOnlyInCustomTextMode) {
    auto w = openMain();
    w->selectComboIndex(w->Combo2, 3);
    w->mnuFile_Click();
    EXPECT_FALSE(w->mnuLoadText->isEnabled());
    w->selectComboIndex(w->Combo2, 0);
    w->mnuFile_Click();
    EXPECT_TRUE(w->mnuLoadText->isEnabled());
}

TEST_F(Periphery, CtrlTFollowsTheModeAtThePressNotAtTheMenusLastOpening) {
    auto w = openMain();
    w->show();
    QApplication::setActiveWindow(w.get());
    QCoreApplication::processEvents();
    if (!w->isActiveWindow())
        GTEST_SKIP() << "the platform gives no window activation";
    w->selectComboIndex(w->Combo2, 0);
    w->mnuFile_Click();
    w->selectComboIndex(w->Combo2, 3);
    w->Command2->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(dialogs.opens().empty());
    EXPECT_FALSE(w->mnuLoadText->isEnabled());
}

// ---- Window position ----

TEST_F(Periphery, WithRememberingOffShutDownWritesOnlyTheFlag) {
    store("WRemember", "true");  // the case counts
    auto w = openMain();
    EXPECT_FALSE(w->mnuRWSP->isChecked());
    w->Form_Unload();
    EXPECT_EQ(setting("WRemember"), "False");
    EXPECT_EQ(setting("WX"), "<none>");
}

TEST_F(Periphery, RememberingStoresThePositionInTwipsAtOnceAndAtShutDown) {
    auto w = openMain();
    w->mnuRWSP->trigger();
    EXPECT_TRUE(w->mnuRWSP->isChecked());
    EXPECT_EQ(setting("WRemember"), "True");
    EXPECT_EQ(setting("WX"), std::to_string(w->x() * 15));
    EXPECT_EQ(setting("WSOldX"), std::to_string(screenSize().width()));
    w->Form_Unload();
    EXPECT_EQ(setting("WState"), "0");
    EXPECT_EQ(setting("WWidth"), std::to_string(w->frameGeometry().width() * 15));
    w->mnuRWSP->trigger();
    EXPECT_FALSE(w->mnuRWSP->isChecked());
    EXPECT_EQ(setting("WRemember"), "False");
}

TEST_F(Periphery, TheWindowStateIsStoredAndAMinimisedWindowKeepsItsEarlierPlace) {
    struct Case {
        const char* name;
        Qt::WindowStates state;
        const char* stored;
        bool placeWritten;
    };
    for (const Case& c : std::vector<Case>{
             {"normal", Qt::WindowNoState, "0", true},
             {"minimised", Qt::WindowMinimized, "1", false},
             {"maximised", Qt::WindowMaximized, "2", true},
         }) {
        store("WRemember", "True");
        for (const char* key : {"WX", "WY", "WWidth", "WHeight"})
            store(key, "7");
        store("WSOldX", "1");
        store("WSOldY", "1");
        auto w = openMain();
        w->setWindowState(c.state);
        w->Form_Unload();
        EXPECT_EQ(setting("WState"), c.stored) << c.name;
        // The screen size is stored in every state.
        EXPECT_EQ(setting("WSOldX"), std::to_string(screenSize().width())) << c.name;
        EXPECT_EQ(setting("WSOldY"), std::to_string(screenSize().height())) << c.name;
        const QRect frame = w->frameGeometry();
        const std::vector<std::string> place = {setting("WX"), setting("WY"), setting("WWidth"),
                                                setting("WHeight")};
        const std::vector<std::string> expected =
            c.placeWritten
                ? std::vector<std::string>{std::to_string(w->x() * 15), std::to_string(w->y() * 15),
                                           std::to_string(frame.width() * 15),
                                           std::to_string(frame.height() * 15)}
                : std::vector<std::string>{"7", "7", "7", "7"};
        EXPECT_EQ(place, expected) << c.name;
    }
}

TEST_F(Periphery, AStoredPositionIsRestoredAskingFirstWhenTheScreenShrank) {
    struct Case {
        const char* name;
        int extraWidth, extraHeight;
        std::optional<int> answer;
        bool moved;
    };
    for (const Case& c : std::vector<Case>{
             {"same screen, no question", 0, 0, std::nullopt, true},
             {"narrower screen, Yes keeps it centred", 100, 0, mb::Yes, false},
             {"lower screen, No restores", 0, 100, mb::No, true},
         }) {
        dialogs.clearRecord();
        store("WRemember", "True");
        store("WSOldX", std::to_string(screenSize().width() + c.extraWidth));
        store("WSOldY", std::to_string(screenSize().height() + c.extraHeight));
        store("WX", "150");
        store("WY", "300");
        if (c.answer)
            dialogs.answerMsgBox(*c.answer);
        auto w = openMain();
        EXPECT_TRUE(w->mnuRWSP->isChecked()) << c.name;
        EXPECT_EQ(dialogs.msgBoxes().size(), c.answer ? 1u : 0u) << c.name;
        if (c.answer) {
            EXPECT_EQ(dialogs.msgBoxes()[0].title, "Window Position");
            EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
                      "Your display resolution has been changed since the last time Tessaryn q4 "
                      "ran.\rThis resolution change may cause Tessaryn q4 to display incorrectly."
                      "\r\rWould you like to load the default Tessaryn q4 display settings "
                      "instead?");
        }
        EXPECT_EQ(w->pos() == QPoint(10, 20), c.moved) << c.name;
    }
}

TEST_F(Periphery, BadOrMissingStoredNumbersLeaveTheWindowCentred) {
    store("WRemember", "True");
    store("WX", "left");
    store("WY", "300");
    auto w = openMain();
    EXPECT_NE(w->pos(), QPoint(10, 20));
    EXPECT_TRUE(dialogs.msgBoxes().empty());
}

TEST_F(Periphery, AMissingStoredEdgeKeepsTheCentredOneAndMissingScreenSizesAskNothing) {
    const QPoint centred = openMain()->pos();
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, const char*>> stored;
        QPoint expected;
    };
    const std::vector<Case> cases = {
        {"no WX", {{"WY", "300"}}, {centred.x(), 20}},
        {"no WY", {{"WX", "150"}}, {10, centred.y()}},
        {"neither", {}, centred},
        {"no screen sizes", {{"WX", "150"}, {"WY", "300"}}, {10, 20}},
    };
    for (const Case& c : cases) {
        settings.remove("Tessaryn32", "Settings");
        dialogs.clearRecord();
        store("WRemember", "True");
        for (const auto& [key, value] : c.stored)
            store(key, value);
        auto w = openMain();
        EXPECT_TRUE(w->mnuRWSP->isChecked()) << c.name;
        EXPECT_EQ(w->pos(), c.expected) << c.name;
        EXPECT_TRUE(dialogs.msgBoxes().empty()) << c.name;
    }
}

TEST_F(Periphery, APositionOffEveryScreenComesBackOntoOne) {
    store("WRemember", "True");
    store("WX", std::to_string(100000 * 15));
    store("WY", "-1500000");
    auto w = openMain();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(w->frameGeometry())) << w->x() << "," << w->y();
}

// ---- Transparency ----

TEST_F(Periphery, EachTransparencyEntryGivesItsAlphaAndIsStored) {
    auto w = openMain();
    w->mnuTransVal_Click(9);
    EXPECT_NEAR(w->windowOpacity(), 25 / 255.0, 0.005);
    EXPECT_EQ(setting("TransMode"), "9");
    EXPECT_TRUE(w->mnuTransVal[9]->isChecked());
    EXPECT_FALSE(w->mnuTransVal[0]->isChecked());
    w->mnuTransVal[1]->trigger();
    EXPECT_NEAR(w->windowOpacity(), 225 / 255.0, 0.005);
    w->mnuTransVal_Click(0);
    EXPECT_DOUBLE_EQ(w->windowOpacity(), 1.0);
    EXPECT_FALSE(IsLayered(*w));
    EXPECT_EQ(setting("TransMode"), "0");
}

TEST_F(Periphery, AStoredTransModeOfSevenStartsAtAlpha75) {
    store("TransMode", "7");
    auto w = openMain();
    EXPECT_TRUE(w->mnuTransVal[7]->isChecked());
    EXPECT_NEAR(w->windowOpacity(), 75 / 255.0, 0.005);
    EXPECT_EQ(w->transparencyChoice(), 7);
}

TEST_F(Periphery, DialogsTakeTheTransparencyOnlyOnceTheMainWindowWasActive) {
    auto w = openMain();
    w->mnuTransVal_Click(5);
    QDialog dialog(w.get());
    ApplyTransparency(dialog, state);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 1.0);
    state.MainActive = true;
    ApplyTransparency(dialog, state);
    EXPECT_NEAR(dialog.windowOpacity(), 125 / 255.0, 0.005);
    w->mnuTransVal_Click(0);
    ApplyTransparency(dialog, state);
    EXPECT_DOUBLE_EQ(dialog.windowOpacity(), 1.0);
}

TEST(TransFunctions, AlphaOutsideTheByteChangesNothing) {
    QWidget window;
    EXPECT_EQ(SetTranslucency(window, 256), 1);
    EXPECT_EQ(SetTranslucency(window, -1), 1);
    EXPECT_FALSE(IsLayered(window));
    EXPECT_EQ(MakeOpaque(window), 0);
    EXPECT_EQ(SetTranslucency(window, 0), 0);
    EXPECT_TRUE(IsLayered(window));
    EXPECT_EQ(MakeOpaque(window), 0);
    EXPECT_FALSE(IsLayered(window));
}

// ---- Sibling programs and folders ----

TEST_F(Periphery, TheExplorerStartsWithTheMosaicFolderAsItsOneArgument) {
    touch(inProgram("Wenderlock"));
    auto w = openMain();
    EXPECT_TRUE(w->mnuWenderlock->isVisible());
    EXPECT_EQ(w->ExplorerName, "Wenderlock");
    w->Text2->setText(QString::fromStdString(inProgram("out dir/Image3.html")));
    w->mnuWenderlock->trigger();
    w->Text2->setText("Image3.html");
    w->mnuWenderlock_Click();
    ASSERT_EQ(shell.started().size(), 2u);
    EXPECT_EQ(shell.started()[0].program, inProgram("Wenderlock"));
    EXPECT_EQ(shell.started()[0].argument, inProgram("out dir/"));
    EXPECT_EQ(shell.started()[1].argument, inProgram("Mosaics/"));
}

TEST_F(Periphery, TheMosaicFolderIsTheOutputPathUpToItsLastSeparator) {
    auto w = openMain();
    struct Case {
        const char* output;
        const char* folder;
    };
    const Case cases[] = {
        {"/home/ilse/Mosaics/Image3.html", "/home/ilse/Mosaics/"},
        {"out dir/sub dir/Image3.html", "out dir/sub dir/"},
        {"/Image3.html", "/"},
        {"/home/ilse/Mosaics/", "/home/ilse/Mosaics/"},
        {"Image3.html", "fallback"},
        {"", "fallback"},
        // Only "/" separates folders here.
        {"C:\\Mosaics\\Image3.html", "fallback"},
    };
    for (const Case& c : cases) {
        w->Text2->setText(QString::fromStdString(c.output));
        EXPECT_EQ(w->GetCurrentMosaicDir("fallback"), c.folder) << c.output;
    }
}

TEST_F(Periphery, WithTheProgramInTheRootTheExplorerPathsHaveNoDoubledSeparator) {
    // Only the launch is run: the load would look for files in the root.
    Services rooted = services;
    rooted.folders = Folders::inOne("/");
    frmMain w(rooted, state, {});
    w.ExplorerName = "Wenderlock";
    w.Text2->setText("Image3.html");
    w.mnuWenderlock_Click();
    w.Text2->setText("/Image3.html");
    w.mnuWenderlock_Click();
    ASSERT_EQ(shell.started().size(), 2u);
    EXPECT_EQ(shell.started()[0].program, "/Wenderlock");
    EXPECT_EQ(shell.started()[0].argument, "/Mosaics/");
    EXPECT_EQ(shell.started()[1].argument, "/");
}

TEST_F(Periphery, AMissingExplorerHidesItsItem) {
    auto w = openMain();
    EXPECT_FALSE(w->mnuWenderlock->isVisible());
    EXPECT_FALSE(w->mnuMELineBr->isVisible());
}

TEST_F(Periphery, TheLibraryEntryPointsNeedALibraryInTheGraphicsFolder) {
    struct Case {
        const char* name;
        std::vector<std::string> files;
        bool enabled;
    };
    for (const Case& c : std::vector<Case>{{"no folder", {}, false},
                                           {"only other files", {"Graphics/readme.txt"}, false},
                                           {"a library", {"Graphics/default.tgl"}, true}}) {
        for (const std::string& f : c.files)
            touch(inProgram(f));
        auto w = openMain();
        EXPECT_EQ(w->mnuGFXLib->isEnabled(), c.enabled) << c.name;
        EXPECT_EQ(w->Command11->isEnabled(), c.enabled) << c.name;
    }
}

TEST_F(Periphery, TheBuilderToolStartsFromItsStoredFolder) {
    const std::string folder = inProgram("tools/");
    touch(folder + "TGLBuilder");
    settings.save("Tessaryn32\\TGLBuilder", "Info", "AppPath", folder);
    auto w = openMain();
    EXPECT_TRUE(w->mnuTGLBuilder->isVisible());
    w->mnuTGLBuilder->trigger();
    ASSERT_EQ(shell.started().size(), 1u);
    EXPECT_EQ(shell.started()[0].program, folder + "TGLBuilder");
    EXPECT_EQ(shell.started()[0].argument, "");
}

TEST_F(Periphery, TheToolsMenuClosesPlainHalvingForAPictureOnePixelAcross) {
    auto w = openMain();
    ASSERT_TRUE(w->srcPic->box().setSize(1, 200).ok());
    w->mnuTools_Click();
    EXPECT_FALSE(w->mnuHalfSize->isEnabled());
    EXPECT_TRUE(w->mnuCutIHR->isEnabled());
    ASSERT_TRUE(w->srcPic->box().setSize(2, 2).ok());
    w->mnuTools_Click();
    EXPECT_TRUE(w->mnuHalfSize->isEnabled());
}

// ---- Web commands and the about panel ----

TEST_F(Periphery, EveryWebCommandOpensItsAddress) {
    auto w = openMain();
    const std::string site = "http://tessaryn.example";
    w->mnuOLHelp->trigger();
    w->mnuContact->trigger();
    w->mnuRBug->trigger();
    w->mnuDonate->trigger();
    w->mnuCUpdate->trigger();
    w->mnuHBDR_Click();
    w->Label13_Click();
    w->Label17_Click();
    ASSERT_EQ(shell.opened().size(), 8u);
    EXPECT_EQ(shell.opened()[0], site + "/q4/help/");
    EXPECT_EQ(shell.opened()[1].rfind(site + "/contact.shtml?pf=tesinq&f=Tessaryn&v=", 0), 0u);
    EXPECT_EQ(shell.opened()[3], site + "/cgi-bin/q4/donate.pl");
    EXPECT_EQ(shell.opened()[4].rfind(site + "/cgi-bin/q4/update.pl?mj=", 0), 0u);
    EXPECT_NE(shell.opened()[4].find("|False|"), std::string::npos);
    EXPECT_EQ(shell.opened()[4].substr(shell.opened()[4].size() - 9), "|Tessaryn");
    EXPECT_EQ(shell.opened()[5], site + "/cgi-bin/q4/birthday.pl");
    EXPECT_EQ(shell.opened()[6], site + "/cgi-bin/q4/linkme.pl?who=ilse");
    EXPECT_EQ(shell.opened()[7], site + "/cgi-bin/q4/linkme.pl?who=orvalt");
}

TEST_F(Periphery, TheBirthdayItemShowsOnTheTwentyFourthOfDecemberOnly) {
    clock.setNow({2026, 12, 24, 9, 0, 0, 0});
    auto w = openMain();
    EXPECT_TRUE(w->mnuHBDR->isVisible());
    EXPECT_EQ(w->mnuHBDR->text(), "Happy &Birthday Orvalt!");
    clock.setNow({2026, 12, 25, 9, 0, 0, 0});
    auto later = openMain();
    EXPECT_FALSE(later->mnuHBDR->isVisible());
}

TEST_F(Periphery, TheToolbarButtonsCarryTheirCaptionsAndTooltips) {
    auto w = openMain();
    struct Case {
        const char* name;
        const char* caption;
        const char* tooltip;
    };
    const Case cases[] = {
        {"Command5", "Flip V", "Flip image vertically."},
        {"Command6", "Flip H", "Flip image horizontally"},
        {"Command7", "Invert", "Invert image colors."},
        {"Command8", "Shrink", "Cut the image size in half."},
        {"Command9", "Grow", "Double image size."},
        {"Command10", "Resize", "Resize image with custom settings."},
        {"Command11", "Graphics Library", "Load the Graphics Library."},
    };
    for (const Case& c : cases) {
        const QPushButton* button = w->findChild<QPushButton*>(c.name);
        ASSERT_NE(button, nullptr) << c.name;
        EXPECT_EQ(button->text(), c.caption) << c.name;
        EXPECT_EQ(button->toolTip(), c.tooltip) << c.name;
    }
}

TEST_F(Periphery, TheAboutPanelCoversTheTabsAndHidesThePreferences) {
    auto w = openMain();
    w->SSTab1->setCurrentIndex(2);
    w->mnuSettings_Click();
    w->mnuAboutMe_Click();
    EXPECT_TRUE(w->HIDESET->isHidden());
    EXPECT_FALSE(w->HIDEABOUT->isHidden());
    EXPECT_EQ(w->HIDEABOUT->geometry(), w->SSTab1->geometry());
    EXPECT_EQ(w->lblBetaStat->text(), "beta 1");
    EXPECT_EQ(w->lblBetaStat->x(), w->Label5->x() + w->Label5->width() + 4);
    const int buttonLeft = w->Command13->x();
    const int ruleLeft = w->Line5.x1;
    EXPECT_EQ(buttonLeft, w->HIDEABOUT->width() / 2 - w->Command13->width() / 2);
    w->mnuAboutMe_Click();  // twice: nothing moves further
    EXPECT_EQ(w->Command13->x(), buttonLeft);
    EXPECT_EQ(w->Line5.x1, ruleLeft);
    EXPECT_EQ(w->Label20->x(), w->Line5.x1);
    w->Command13->click();
    EXPECT_TRUE(w->HIDEABOUT->isHidden());
    EXPECT_EQ(w->SSTab1->currentIndex(), 2);
}

}  // namespace
}  // namespace tess

namespace tess {
namespace {

// An installed converter: the program folder holds only what ships, the user's files go to a data
// folder and a private scratch folder of their own.
class InstalledPeriphery : public ShellFixture {
  protected:
    InstalledPeriphery() {
        services.folders.data = inRoot("data/Tessaryn");
        services.folders.scratch = inRoot("scratch");
        services.folders.graphics = {inProgram("Graphics"), inRoot("data/Tessaryn/Graphics")};
        QDir().mkpath(QString::fromStdString(inRoot("data/Tessaryn/Mosaics")));
        QDir().mkpath(QString::fromStdString(inRoot("scratch")));
    }
    std::string inRoot(const std::string& name) const {
        return QDir(root.path()).filePath(QString::fromStdString(name)).toStdString();
    }
};

TEST_F(InstalledPeriphery, MosaicsAndTheExplorerFolderAreTheUsersOwn) {
    touch(inProgram("Wenderlock"));
    touch(inProgram("Tessaryn"));
    auto w = openMain();
    EXPECT_EQ(w->Text2->text().toStdString(), inRoot("data/Tessaryn/Mosaics/Image1.html"));
    w->Text2->setText("Image3.html");
    w->mnuWenderlock_Click();
    ASSERT_EQ(shell.started().size(), 1u);
    EXPECT_EQ(shell.started()[0].program, inProgram("Wenderlock"));
    EXPECT_EQ(shell.started()[0].argument, inRoot("data/Tessaryn/Mosaics/"));
}

TEST_F(InstalledPeriphery, ALibraryInEitherGraphicsFolderEnablesTheLibraryCommands) {
    struct Case {
        const char* name;
        std::string file;
        bool enabled;
    };
    for (const Case& c :
         std::vector<Case>{{"none", "", false},
                           {"the user's own", "data/Tessaryn/Graphics/mine.tgl", true},
                           {"the shipped one", "program/Graphics/default.tgl", true}}) {
        if (!c.file.empty())
            touch(inRoot(c.file));
        auto w = openMain();
        EXPECT_EQ(w->mnuGFXLib->isEnabled(), c.enabled) << c.name;
        EXPECT_EQ(w->Command11->isEnabled(), c.enabled) << c.name;
    }
}

TEST_F(InstalledPeriphery, ApplyWritesTheManifestToTheDataFolderAndReportsOneItCannotWrite) {
    auto w = openMain();
    w->mnuSettings_Click();
    w->Check2->setChecked(true);
    w->Command1b_Click();
    EXPECT_TRUE(manifestPresent(services.folders.data));
    EXPECT_FALSE(manifestPresent(programFolder));
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);  // only the note that a restart is due
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "tessaryn q4");

    // A data folder that cannot hold the file: the user hears of it, and the settings are kept.
    w->Check2->setChecked(false);
    w->Command1b_Click();
    touch(inRoot("blocked"));
    services.folders.data = inRoot("blocked/Tessaryn");
    w->mnuSettings_Click();
    w->Check2->setChecked(true);
    w->Combo1b->setCurrentIndex(3);
    const std::size_t before = dialogs.msgBoxes().size();
    w->Command1b_Click();
    ASSERT_EQ(dialogs.msgBoxes().size(), before + 2);
    const auto& report = dialogs.msgBoxes()[before];
    EXPECT_EQ(report.title, "XP Buttons");
    EXPECT_EQ(report.style, mb::Exclamation);
    EXPECT_EQ(report.prompt, "The visual style could not be changed.\r\nCannot write \"" +
                                 manifestPath(services.folders.data, "Tessaryn") +
                                 "\": Not a directory");
    EXPECT_EQ(setting("DisplayMode"), "1");
    EXPECT_EQ(setting("FontSize"), "3");
}

}  // namespace
}  // namespace tess
