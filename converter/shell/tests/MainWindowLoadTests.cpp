#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QWidget>
#include <set>

#include "ShellFixture.h"
#include "platform/SystemColours.h"
#include "shell/OutputProposal.h"

namespace tess {
namespace {

using MainWindowLoad = ShellFixture;

QStringList comboTexts(const QComboBox* combo) {
    QStringList texts;
    for (int i = 0; i < combo->count(); ++i)
        texts << combo->itemText(i);
    return texts;
}

TEST_F(MainWindowLoad, EmptyStoreGivesTheFactoryDefaults) {
    auto w = openMain();

    EXPECT_EQ(w->windowTitle(), " tessaryn.example presents tessaryn q4 (beta 1)");
    EXPECT_EQ(comboTexts(w->Combo1),
              (QStringList{"-1", "-2", "CSS - 60%", "CSS - 50%", "CSS - 40%", "CSS - 30%",
                           "CSS - 20%", "CSS - 10%", "CSS - Custom..."}));
    EXPECT_EQ(comboTexts(w->Combo2), (QStringList{"Custom Text", "Random Letters", "Random Numbers",
                                                  "Binary", "Machine Code", "Hex", "Smart Text"}));
    EXPECT_EQ(comboTexts(w->Combo3), (QStringList{"+", "^", "-", "~", "_", "None"}));
    EXPECT_EQ(w->Combo1->currentText(), "-1");
    EXPECT_EQ(w->Combo2->currentText(), "Binary");
    EXPECT_EQ(w->Combo3->currentText(), "+");
    // Binary uses no custom text.
    EXPECT_FALSE(w->Text3->isEnabled());
    EXPECT_FALSE(w->Command4->isEnabled());
    EXPECT_FALSE(w->Combo3->isEnabled());
    EXPECT_FALSE(w->Label27->isEnabled());
    EXPECT_EQ(w->Text3->text(), "tessaryn q4");
    EXPECT_FALSE(w->Check1->isChecked());
    EXPECT_TRUE(w->mnuNormalP->isChecked());
    EXPECT_FALSE(w->mnuHighP->isChecked());
    EXPECT_EQ(w->CommonDialog1.Color, 0);
    EXPECT_EQ(w->Picture5->box().backColor(), 0);
    EXPECT_TRUE(w->mnuHidResize1->isChecked());
    EXPECT_FALSE(w->mnuResample1->isChecked());
    EXPECT_TRUE(w->mnuResize2->isChecked());
    EXPECT_FALSE(w->mnuResample2->isChecked());
    EXPECT_TRUE(w->mnuTransVal[0]->isChecked());
    EXPECT_FALSE(w->mnuTGLBuilder->isVisible());
    EXPECT_TRUE(w->BuilderPath.empty());

    EXPECT_EQ(state.CSSSize, 60);
    EXPECT_EQ(state.CSSUnit, "%");
    EXPECT_FALSE(state.ProgressLock);
    EXPECT_TRUE(w->CopyIsImage);
    EXPECT_FALSE(w->SpeedLog);

    EXPECT_EQ(w->srcPic->box().width(), 140);
    EXPECT_EQ(w->srcPic->box().height(), 92);
    ASSERT_TRUE(w->srcPic->box().picture().has_value());
    EXPECT_EQ(w->Label6->text(), "0x0 of 140x92 (Idle)");
    EXPECT_TRUE(w->Label6->isHidden());
    EXPECT_TRUE(w->HIDEABOUT->isHidden());
    EXPECT_TRUE(w->HIDESET->isHidden());
    EXPECT_FALSE(w->mnuHidden->menuAction()->isVisible());
    EXPECT_EQ(w->mnuCopyImage->text(), "Copy Image\tCtrl+C");
    EXPECT_EQ(w->mnuPasteImage->text(), "Paste Image\tCtrl+V");
    EXPECT_EQ(w->Label5->text(), "(1.0.000)");
    EXPECT_EQ(w->lblBetaStat->text(), "beta 1");
    EXPECT_EQ(w->lblBetaStat->x(), w->Label5->x() + w->Label5->width() + 4);
    // The last effect and the birthday item keep their design state.
    EXPECT_FALSE(w->mnuLastFX->isVisible());
    EXPECT_FALSE(w->mnuLineLFBreak->isVisible());
    EXPECT_EQ(w->mnuLastFX->text(), "   Last Effect: #");
    EXPECT_FALSE(w->mnuHBDR->isVisible());
    EXPECT_EQ(dialogs.msgBoxes().size(), 0u);
}

TEST_F(MainWindowLoad, TheSwatchSitsAgainstTheVerticalBarFramedByWhiteLines) {
    auto w = openMain();
    EXPECT_EQ(w->Picture5->y(), 0);
    EXPECT_EQ(w->Picture5->x() + w->Picture5->width(), w->VScroll1->x());
    EXPECT_EQ(w->VScroll1->x() + w->VScroll1->width(), w->Picture1->width());
    EXPECT_EQ(w->HScroll1->y() + w->HScroll1->height(), w->Picture1->height());
    EXPECT_EQ(w->Picture2->geometry(), QRect(w->HScroll1->width(), w->VScroll1->height(),
                                             w->VScroll1->width(), w->HScroll1->height()));
    for (const LineShape* line : {&w->Line6, &w->Line7, &w->Line8, &w->Line9}) {
        EXPECT_EQ(line->borderColor, 0xFFFFFF);
    }
    // The left and bottom frame lines show beside the swatch.
    const QImage shown = w->Picture1->grab().toImage();
    EXPECT_EQ(shown.pixel(w->Picture5->x() - 1, 3), qRgb(255, 255, 255));
    EXPECT_EQ(shown.pixel(w->Picture5->x() + 3, w->Picture5->height()), qRgb(255, 255, 255));
}

TEST_F(MainWindowLoad, StoredOptionsAndTheirFallbacks) {
    struct Case {
        std::vector<std::pair<std::string, std::string>> stored;
        int fontSize;
        int mode;
        int spacer;
        bool browser;
        bool high;
        Colour colour;
        bool resample1;
        bool resample2;
    };
    const Case cases[] = {
        {{{"FontSize", "7"},
          {"Mode", "6"},
          {"Spacer", "4"},
          {"Browser", "0"},
          {"Priority", "1"},
          {"BGColor", "16777215"},
          {"SizeMode1", "2"},
          {"SizeMode2", "2"}},
         7,
         6,
         4,
         true,
         true,
         0xFFFFFF,
         true,
         true},
        // The custom CSS entry, the spacer "None" and a mode with a blank are not accepted.
        {{{"FontSize", "8"}, {"Mode", " 1"}, {"Spacer", "5"}},
         0,
         3,
         0,
         false,
         false,
         0,
         false,
         false},
        {{{"Browser", "1"}, {"Priority", "0"}, {"BGColor", "99999999999"}},
         0,
         3,
         0,
         false,
         false,
         0,
         false,
         false},
        {{{"Browser", "yes"},
          {"Priority", "High"},
          {"BGColor", "255abc"},
          {"SizeMode1", "1"},
          {"SizeMode2", "3"}},
         0,
         3,
         0,
         false,
         false,
         255,
         false,
         false},
        {{{"BGColor", "-1"}, {"Mode", "0"}}, 0, 0, 0, false, false, 0, false, false},
    };
    for (const Case& c : cases) {
        QTemporaryDir config;
        qt::IniSettingsStore caseSettings(config.path());
        for (const auto& [key, value] : c.stored)
            caseSettings.save("Tessaryn32", "Settings", key, value);
        Services caseServices{dialogs, caseSettings, clock,     random,
                              pump,    shell,        clipboard, Folders::inOne(programFolder)};
        frmMain w(caseServices, state, {});
        w.endProgram = [] {};
        w.Form_Load();
        const std::string label = c.stored.empty() ? "" : c.stored.front().second;
        EXPECT_EQ(w.Combo1->currentIndex(), c.fontSize) << label;
        EXPECT_EQ(w.Combo2->currentIndex(), c.mode) << label;
        EXPECT_EQ(w.Combo3->currentIndex(), c.spacer) << label;
        EXPECT_EQ(w.Check1->isChecked(), c.browser) << label;
        EXPECT_EQ(w.mnuHighP->isChecked(), c.high) << label;
        EXPECT_EQ(w.mnuNormalP->isChecked(), !c.high) << label;
        EXPECT_EQ(w.CommonDialog1.Color, c.colour) << label;
        EXPECT_EQ(w.Picture5->box().backColor(), c.colour) << label;
        EXPECT_EQ(w.mnuResample1->isChecked(), c.resample1) << label;
        EXPECT_EQ(w.mnuHidResize1->isChecked(), !c.resample1) << label;
        EXPECT_EQ(w.mnuResample2->isChecked(), c.resample2) << label;
        EXPECT_EQ(w.mnuResize2->isChecked(), !c.resample2) << label;
        // The custom-text controls follow the mode: only "Custom Text" enables them here.
        EXPECT_EQ(w.Text3->isEnabled(), c.mode == 0) << label;
        EXPECT_EQ(w.Command4->isEnabled(), c.mode == 0) << label;
        EXPECT_EQ(w.Combo3->isEnabled(), c.mode == 0) << label;
    }
}

TEST_F(MainWindowLoad, CustomTextModeSelectsTheWholeText) {
    store("Mode", "0");
    auto w = openMain();
    EXPECT_TRUE(w->Text3->isEnabled());
    EXPECT_FALSE(w->Text3->isReadOnly());
    EXPECT_EQ(w->Text3->selectedText(), "tessaryn q4");
}

TEST_F(MainWindowLoad, OutputProposalCountsTheMosaicsFolder) {
    for (const char* name : {"Image1.html", "Image7.htm", "Image12.html", "notes.txt"}) {
        touch(inProgram(std::string("Mosaics/") + name));
    }
    auto w = openMain();
    EXPECT_EQ(w->Text2->text().toStdString(), inProgram("Mosaics/Image13.html"));
    // The graphics-folder check takes the list over once the proposal is made.
    EXPECT_EQ(w->File1.pattern(), "*.tgl");
}

TEST_F(MainWindowLoad, OutputProposalCountsWhatTheHtmPatternLists) {
    // ".HTML" and ".Htm" in any case, and ".htmx" too, whose short name ends ".HTM"; not a text
    // file, a hidden page or a folder.
    for (const char* name :
         {"Image3.HTML", "image5.Htm", "Image40.txt", "Image9.htmx", ".Image30.html"}) {
        touch(inProgram(std::string("Mosaics/") + name));
    }
    QDir().mkpath(QString::fromStdString(inProgram("Mosaics/Image20.html")));
    auto w = openMain();
    EXPECT_EQ(w->Text2->text().toStdString(), inProgram("Mosaics/Image10.html"));
}

TEST_F(MainWindowLoad, OutputProposalOfAFolderThatCannotBeListedIsImage0) {
    // A name longer than any the file system takes: the folder cannot even be looked at.
    const std::string unlistable = programFolder + "/" + std::string(300, 'p');
    FileListBox list;
    EXPECT_EQ(proposeOutputPath(list, unlistable), unlistable + "/Mosaics/Image0.html");
    EXPECT_FALSE(list.listing().ok());
}

TEST_F(MainWindowLoad, OutputProposalInAnEmptyMosaicsFolderIsImage1) {
    QDir().mkpath(QString::fromStdString(inProgram("Mosaics")));
    auto w = openMain();
    EXPECT_EQ(w->Text2->text().toStdString(), inProgram("Mosaics/Image1.html"));
}

TEST_F(MainWindowLoad, WithoutAMosaicsFolderTheProposalCountsTheProgramFolder) {
    touch(inProgram("Image4.html"));
    touch(inProgram("Image9.txt"));
    auto w = openMain();
    EXPECT_EQ(w->Text2->text().toStdString(), inProgram("Image5.html"));
    EXPECT_EQ(w->File1.path(), programFolder);
    EXPECT_FALSE(QDir(QString::fromStdString(inProgram("Mosaics"))).exists());
}

TEST_F(MainWindowLoad, BirthdayItemOnlyOnTheTwentyFourthOfDecember) {
    struct Case {
        int month;
        int day;
        bool shown;
    };
    for (const Case c : {Case{12, 24, true}, Case{12, 25, false}, Case{11, 24, false}}) {
        clock.setNow(DateTime{2005, c.month, c.day, 9, 0, 0, 0});
        auto w = openMain();
        EXPECT_EQ(w->mnuHBDR->isVisible(), c.shown) << c.month << "-" << c.day;
        EXPECT_EQ(w->mnuHBDR->text(), c.shown ? "Happy &Birthday Orvalt!" : "hbdr");
    }
}

TEST_F(MainWindowLoad, StoredLastEffectIsRestored) {
    store("LastFX", "   Last Effect: Black && White");
    auto w = openMain();
    EXPECT_TRUE(w->mnuLastFX->isVisible());
    EXPECT_TRUE(w->mnuLineLFBreak->isVisible());
    EXPECT_EQ(w->mnuLastFX->text(), "   Last Effect: Black && White");
}

TEST_F(MainWindowLoad, StoredDesignCaptionCountsAsNoLastEffect) {
    store("LastFX", "   Last Effect: #");
    auto w = openMain();
    EXPECT_FALSE(w->mnuLastFX->isVisible());
    EXPECT_FALSE(w->mnuLineLFBreak->isVisible());
}

TEST_F(MainWindowLoad, SpeedLogSwitchWithAQuotedProjectPath) {
    const std::string project = inProgram("my projects/cat.tpw");
    touch(project);
    auto w = openMain({"/SpeedLog", "\"" + project + "\""});
    EXPECT_TRUE(w->SpeedLog);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_NE(dialogs.msgBoxes()[0].prompt.find(project), std::string::npos);
}

TEST_F(MainWindowLoad, CommandLineWithoutAnExistingProjectOpensNothing) {
    struct Case {
        std::vector<std::string> arguments;
        bool speedLog;
    };
    const Case cases[] = {
        {{"/speedlog"}, true},
        {{"/SPEEDLOG", inProgram("missing.tpw")}, true},
        {{inProgram("speedlog.tpw")}, false},
    };
    for (const Case& c : cases) {
        dialogs.clearRecord();
        auto w = openMain(c.arguments);
        EXPECT_EQ(w->SpeedLog, c.speedLog) << c.arguments.front();
        EXPECT_TRUE(dialogs.msgBoxes().empty()) << c.arguments.front();
    }
}

TEST_F(MainWindowLoad, BuilderToolFoundThroughItsStoredFolder) {
    const std::string tools = programFolder + "/../tools/";
    touch(tools + "TGLBuilder");
    settings.save("Tessaryn32\\TGLBuilder", "Info", "AppPath", tools);
    auto w = openMain();
    EXPECT_TRUE(w->mnuTGLBuilder->isVisible());
    EXPECT_EQ(w->BuilderPath, tools + "TGLBuilder");
    EXPECT_EQ(settings.get("Tessaryn32\\TGLBuilder", "Info", "TesAppPath", "<none>"),
              programFolder + "/");
}

TEST_F(MainWindowLoad, BuilderFolderWithoutItsSeparatorFindsNoTool) {
    const std::string tools = programFolder + "/../tools";
    touch(tools + "/TGLBuilder");
    settings.save("Tessaryn32\\TGLBuilder", "Info", "AppPath", tools);
    auto w = openMain();
    EXPECT_FALSE(w->mnuTGLBuilder->isVisible());
    EXPECT_TRUE(w->BuilderPath.empty());
    EXPECT_EQ(settings.get("Tessaryn32\\TGLBuilder", "Info", "TesAppPath", "<none>"), "<none>");
}

TEST_F(MainWindowLoad, TooltipsOffClearsExactlyTheListedControls) {
    const std::set<QString> listed = {
        "Check1",    "Check1b",   "Check2b",   "Check2",         "Check3",    "Combo1",
        "Combo1b",   "Combo2",    "Combo2b",   "Combo3",         "Combo3b",   "Combo4b",
        "Combo5b",   "Command1",  "Command1b", "Command2",       "Command2b", "Command3",
        "Command3b", "Command4",  "Command5",  "Command6",       "Command7",  "Command8",
        "Command9",  "Command10", "Command11", "Picture3b",      "Text1",     "Text2",
        "Text3",     "Text4",     "Label6",    "picStatHandler", "picStatus", "Label3",
        "Picture5"};
    ASSERT_EQ(listed.size(), 37u);
    auto tipped = [](const QWidget& window) {
        std::set<QString> names;
        for (const QWidget* child : window.findChildren<QWidget*>()) {
            if (!child->toolTip().isEmpty())
                names.insert(child->objectName());
        }
        return names;
    };

    const std::set<QString> designed = tipped(*openMain());
    for (const QString& name : listed)
        EXPECT_TRUE(designed.count(name)) << name.toStdString();
    // The status panel's background carries its controls' tooltip and loses it with theirs.
    EXPECT_TRUE(designed.count("statusBack"));

    for (const char* off : {"0"}) {
        store("Tooltips", off);
        const std::set<QString> kept = tipped(*openMain());
        std::set<QString> expected;
        for (const QString& name : designed) {
            if (!listed.count(name) && name != "statusBack")
                expected.insert(name);
        }
        EXPECT_EQ(kept, expected);
        EXPECT_FALSE(kept.count("statusBack"));
    }
    for (const char* on : {"1", "no", " 0"}) {
        store("Tooltips", on);
        EXPECT_EQ(tipped(*openMain()), designed) << on;
    }
}

TEST_F(MainWindowLoad, EffectsSubmenuInFourColumnsOfTwelve) {
    auto w = openMain();
    ASSERT_EQ(w->effectColumns.size(), 4u);
    const std::array<QAction*, 38> items = w->effectItems();
    std::size_t next = 0;
    for (std::size_t column = 0; column < 4; ++column) {
        const QList<QAction*> actions = w->effectColumns[column]->actions();
        EXPECT_EQ(actions.size(), column < 3 ? 12 : 2);
        for (QAction* action : actions)
            EXPECT_EQ(action, items[next++]);
    }
    EXPECT_EQ(next, items.size());
    EXPECT_EQ(w->effectColumns[0]->title(), "3D Tiles - Decrease Contrast");
    EXPECT_EQ(w->effectColumns[3]->title(), "Visor - X-Files");
    EXPECT_EQ(w->mnuTools->actions().indexOf(w->mnuEffects->menuAction()), 11);
    EXPECT_FALSE(w->mnuEffects->menuAction()->isVisible());
}

}  // namespace
}  // namespace tess
