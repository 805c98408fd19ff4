#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <sstream>

#include "ShellFixture.h"
#include "platform/Files.h"
#include "platform/SystemColours.h"
#include "platform/Text.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "shell/StatusPanel.h"
#include "workspace/Loading.h"

namespace tess {
namespace {

constexpr const char* kGenerator =
    "<meta name=\"Generator\" content=\"tessaryn.example presents tessaryn q4 (beta 1)\">\r\n";
constexpr const char* kDescription =
    "<meta name=\"Description\" content=\"tessaryn q4, http://tessaryn.example/q4/\">\r\n";
constexpr const char* kRow1 = "<font color=\"#0AC8FF\">####</font><font color=\"#643200\">$$";
constexpr const char* kRow2 = "$$</font><font color=\"#141414\">    ";

// The CSS page of the three by two picture below, as a file holds it and as the clipboard does.
std::string goldenHead() {
    return std::string("<html>\r\n<head>\r\n") + kGenerator + kDescription +
           "<title>Test <b>Page</b></title>\r\n</head>\r\n\r\n<body bgcolor=\"#0080FF\">\r\n"
           "<style type=\"text/css\">\r\n <!--\r\n  pre { font-size: 60% }\r\n -->\r\n"
           "</style>\r\n<center><pre>";
}
std::string goldenFilePage() {
    return goldenHead() + "\r\n" + kRow1 + "\r\n" + kRow2 +
           "\r\n</font></pre></center>\r\n</body>\r\n</html>\r\n";
}
std::string goldenClipboardPage() {
    return goldenHead() + kRow1 + "\r\n" + kRow2 +
           "\r\n</font></pre></center>\r\n</body>\r\n</html>";
}

constexpr const char* kCancelledCssTrailer =
    "</font></pre><br><br><h2><font color=\"#FFFFFF\">FILE INCOMPLETE!</font></h2></center>\r\n"
    "</body>\r\n</html>";

Picture goldenPicture() {
    const Colour sky = 0xFFC80A;
    const Colour brown = 0x003264;
    const Colour night = 0x141414;
    Picture picture(3, 2);
    const Colour cells[2][3] = {{sky, sky, brown}, {brown, night, night}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            picture.setPixel(x, y, cells[y][x]);
    return picture;
}

std::string readBytes(const std::string& path) {
    Result<std::string> bytes = readFileBytes(path);
    return bytes ? bytes.value() : std::string("<no file>");
}

int countOf(const std::string& text, const std::string& piece) {
    int n = 0;
    for (std::size_t at = text.find(piece); at != std::string::npos;
         at = text.find(piece, at + piece.size()))
        ++n;
    return n;
}

std::string lastLine(const std::string& text) {
    std::string trimmed = text;
    while (!trimmed.empty() && (trimmed.back() == '\n' || trimmed.back() == '\r'))
        trimmed.pop_back();
    return trimmed.substr(trimmed.rfind('\n') + 1);
}

// A clipboard that drops whatever text it is given, as one that another program holds on to.
class DroppingClipboard : public testing::MemoryClipboard {
  public:
    void setText(const std::string&) override {}
};

// A clipboard that counts how often its whole text is fetched.
class CountingClipboard : public testing::MemoryClipboard {
  public:
    std::string text() const override {
        ++reads;
        return MemoryClipboard::text();
    }
    mutable int reads = 0;
};

// A clipboard that runs out of memory when it is handed the page.
class ExhaustedClipboard : public testing::MemoryClipboard {
  public:
    void setText(const std::string&) override { throw std::bad_alloc(); }
};

class MosaicRunWindow : public ShellFixture {
  protected:
    MosaicRunWindow() : out(QDir(root.path()).filePath("out").toStdString()) {
        QDir().mkpath(QString::fromStdString(out));
    }

    void SetUp() override { w = openMain(); }

    void usePicture(const Picture& picture) {
        w->srcPic->box().setPicture(picture);
        w->srcPic->resize(picture.width(), picture.height());
    }
    // The options of the engine's golden page: Smart Text, "CSS - 60%", a title with a tag.
    void goldenOptions(const std::string& path) {
        usePicture(goldenPicture());
        w->selectComboIndex(w->Combo2, 6);
        w->selectComboIndex(w->Combo1, 2);
        w->Text4->setText("Test <b>Page</b>");
        w->CommonDialog1.Color = 0x00FF8000;
        w->Text2->setText(QString::fromStdString(path));
        w->Check1->setChecked(false);
        swatch = w->Picture3b->box().backColor();
    }
    // Runs the user's press on the given turn of the event loop: a row end or a cell's yield.
    void onRowEnd(int row, std::function<void()> action) {
        const int base = pump.doEventsCount();
        pump.setOnDoEvents([this, at = base + row, action] {
            if (pump.doEventsCount() == at)
                action();
        });
    }
    void press() { w->Command2->click(); }

    std::string page(const std::string& name = "page.html") const {
        return readBytes(out + "/" + name);
    }
    std::string outPath(const std::string& name = "page.html") const { return out + "/" + name; }

    // The controls of the run's lock, which are all enabled when the window is idle.
    std::vector<QWidget*> lockedControls() const {
        return {w->Text1,     w->Text2,    w->Command1, w->Command3,  w->SSTab1,    w->Command5,
                w->Command6,  w->Command7, w->Command8, w->Command9,  w->Command10, w->Command11,
                w->Check1b,   w->Check2b,  w->Check2,   w->Check3,    w->Combo1b,   w->Combo2b,
                w->Combo3b,   w->Combo4b,  w->Combo5b,  w->Command1b, w->Command2b, w->Command3b,
                w->Picture3b, w->Text4,    w->Check1,   w->Combo1,    w->Combo2,    w->Combo3};
    }
    std::vector<QAction*> lockedActions() const {
        return {w->mnuFile->menuAction(),
                w->mnuEdit->menuAction(),
                w->mnuTools->menuAction(),
                w->mnuHelp->menuAction(),
                w->mnuWindow->menuAction(),
                w->mnuNormalP,
                w->mnuHighP};
    }
    void expectIdle(const std::string& when) const {
        SCOPED_TRACE(when);
        EXPECT_EQ(w->Command2->text(), "Create Mosaic!");
        EXPECT_TRUE(w->Command2->isEnabled());
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
        EXPECT_TRUE(w->statusBack->isHidden());
        // The output-file group follows the clipboard box.
        const bool toClipboard = w->Check3->checkState() == Qt::Checked;
        for (QWidget* control : lockedControls()) {
            const bool group =
                control == w->Text2 || control == w->Command3 || control == w->Check1;
            EXPECT_EQ(control->isEnabled(), !(group && toClipboard))
                << control->objectName().toStdString();
        }
        for (QAction* action : lockedActions())
            EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        EXPECT_EQ(w->Picture3b->box().backColor(), swatch);
    }

    std::string out;
    std::unique_ptr<frmMain> w;
    Colour swatch = 0;
};

TEST_F(MosaicRunWindow, CompleteFileRunWritesTheGoldenPageAndLocksTheWindowMeanwhile) {
    goldenOptions(outPath());
    swatch = w->Picture3b->box().backColor();
    bool looked = false;
    onRowEnd(1, [&] {
        looked = true;
        EXPECT_EQ(w->Command2->text(), "Cancel");
        EXPECT_TRUE(w->Command2->isEnabled());
        EXPECT_EQ(w->cursor().shape(), Qt::WaitCursor);
        EXPECT_FALSE(w->statusBack->isHidden());
        EXPECT_EQ(w->Label6->text(), "");
        EXPECT_EQ(w->ProgressPos, 3);
        for (QWidget* control : lockedControls())
            EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
        EXPECT_FALSE(w->Command4->isEnabled());
        EXPECT_FALSE(w->Text3->isEnabled());
        for (QAction* action : lockedActions())
            EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
        EXPECT_EQ(w->Picture3b->box().backColor(), systemColour(17));
    });
    press();

    EXPECT_TRUE(looked);
    EXPECT_EQ(page(), goldenFilePage());
    EXPECT_EQ(w->ProgressPos, 6);
    EXPECT_EQ(w->Label6->text(), "Completed!");
    expectIdle("after the run");
    EXPECT_TRUE(dialogs.msgBoxes().empty());
    EXPECT_TRUE(shell.opened().empty());
    // Without "/speedlog" no log is written.
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("tyspeed.log"))));
}

// A locked menu keeps its items' shortcuts working, so their handlers refuse during a run: the
// custom text (Ctrl+T), the background colour (Ctrl+E) and the size preview (Ctrl+P).
TEST_F(MosaicRunWindow, ShortcutsOfTheLockedMenusDoNothingDuringARun) {
    goldenOptions(outPath());
    const std::string txt = out + "/words.txt";
    std::ofstream(txt, std::ios::binary) << "other words";
    const QString textBefore = w->Text3->text();
    dialogs.answerOpen(txt);
    dialogs.answerColour(0x0000FF);
    onRowEnd(1, [&] {
        for (QAction* item : {w->mnuLoadText, w->mnuBGColor, w->mnuFSP}) {
            EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
            item->trigger();
        }
        w->Command4_Click();
        w->Picture5_Click();
    });
    press();

    EXPECT_TRUE(dialogs.opens().empty());
    EXPECT_TRUE(dialogs.colours().empty());
    EXPECT_TRUE(dialogs.msgBoxes().empty());
    EXPECT_EQ(w->Text3->text(), textBefore);
    EXPECT_TRUE(w->TextFilePath.empty());
    EXPECT_EQ(w->CommonDialog1.Color, 0x00FF8000);
    EXPECT_EQ(page(), goldenFilePage());

    // Idle again, the same commands work.
    w->mnuBGColor->trigger();
    EXPECT_EQ(w->CommonDialog1.Color, 0x0000FF);
    w->mnuLoadText->trigger();
    EXPECT_EQ(w->Text3->text(), "other words");
}

TEST_F(MosaicRunWindow, ClipboardRunHandsThePageOverAndSaysSo) {
    goldenOptions(outPath());
    w->Check1->setChecked(true);
    w->Check3->setChecked(true);
    press();

    EXPECT_EQ(clipboard.text(), goldenClipboardPage());
    EXPECT_EQ(page(), "<no file>");
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt, "The HTML Mosaic has been copied to your clipboard.");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::Information);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Complete");
    EXPECT_TRUE(shell.opened().empty());
    // The output-file group follows the ticked clipboard box again.
    for (QWidget* control :
         std::vector<QWidget*>{w->Label2, w->Text2, w->Command3, w->Check1, w->Frame1})
        EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
}

struct CancelCase {
    const char* name;
    bool toClipboard;
    bool duringACell;  // pressed in a cell's yield rather than at a row end
    int pressAt;       // the turn of that kind
    int rowsWritten;
};

class MosaicRunCancel : public MosaicRunWindow, public ::testing::WithParamInterface<CancelCase> {};

TEST_P(MosaicRunCancel, SecondPressStopsAtTheRowEndWithTheCancelledTrailer) {
    const CancelCase& c = GetParam();
    w = openMain({"/SpeedLog"});
    goldenOptions(outPath());
    usePicture(Picture(4, 5, 0xC8C8C8));
    w->Check3->setChecked(c.toClipboard);
    auto pressAndLook = [&] {
        clock.advance(2500);
        press();
        EXPECT_EQ(w->Command2->text(), "Stop!");
        EXPECT_FALSE(w->Command2->isEnabled());
        // A disabled button takes no second press.
        press();
        EXPECT_EQ(w->Command2->text(), "Stop!");
    };
    if (c.duringACell) {
        pump.setOnYield([&, at = c.pressAt] {
            if (pump.yieldCount() == at)
                pressAndLook();
        });
    } else {
        onRowEnd(c.pressAt, pressAndLook);
    }
    press();

    const std::string written = c.toClipboard ? cp1252::fromUtf8(clipboard.text()) : page();
    const std::string row = "@@@@@@@@\r\n";
    EXPECT_EQ(countOf(written, "@@@@@@@@"), c.rowsWritten);
    const std::string tail = row + kCancelledCssTrailer + (c.toClipboard ? "" : "\r\n");
    EXPECT_EQ(written.substr(written.size() - tail.size()), tail);
    EXPECT_EQ(w->ProgressPos, 4 * c.rowsWritten);
    EXPECT_EQ(w->Label6->text(), "Incomplete");
    expectIdle("after the cancel");
    EXPECT_TRUE(shell.opened().empty());
    if (c.toClipboard) {
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
                  "The partial HTML Mosaic has been copied to your clipboard.");
        EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::Information);
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Incomplete");
    } else {
        EXPECT_TRUE(dialogs.msgBoxes().empty());
    }
    EXPECT_EQ(lastLine(readBytes(inProgram("tyspeed.log"))),
              "02:30:00 PM,10-12-05,02:30:02 PM,10-12-05,2500,4,5,Smart Text,Normal,Cancelled");
}

INSTANTIATE_TEST_SUITE_P(FileAndClipboard, MosaicRunCancel,
                         ::testing::Values(CancelCase{"FileAtRowTwo", false, false, 2, 2},
                                           CancelCase{"ClipboardAtRowTwo", true, false, 2, 2},
                                           CancelCase{"FileInTheThirdRowsSecondCell", false, true,
                                                      10, 3},
                                           CancelCase{"FileAtTheLastRow", false, false, 5, 5},
                                           CancelCase{"ClipboardInTheLastCell", true, true, 20, 5}),
                         [](const ::testing::TestParamInfo<CancelCase>& param) {
                             return std::string(param.param.name);
                         });

TEST_F(MosaicRunWindow, BrowserOpensOnlyTheCompleteFilePageWhenAsked) {
    struct Case {
        bool openInBrowser;
        Qt::CheckState clipboardBox;
        bool cancel;
        bool opened;
    };
    const Case cases[] = {
        {true, Qt::Unchecked, false, true},        {false, Qt::Unchecked, false, false},
        {true, Qt::Checked, false, false},         {true, Qt::Unchecked, true, false},
        {true, Qt::PartiallyChecked, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.openInBrowser) + " " + std::to_string(c.clipboardBox) + " " +
                     std::to_string(c.cancel));
        shell = testing::RecordingShell();
        goldenOptions(outPath());
        w->Check1->setChecked(c.openInBrowser);
        w->Check3->setCheckState(c.clipboardBox);
        onRowEnd(1, [&] {
            if (c.cancel)
                press();
        });
        press();
        pump.setOnDoEvents({});
        EXPECT_EQ(shell.openedFiles(),
                  c.opened ? std::vector<std::string>{outPath()} : std::vector<std::string>{});
        EXPECT_EQ(shell.opened(), shell.openedFiles());
    }
}

TEST_F(MosaicRunWindow, APagePathThatReadsLikeAnAddressIsOpenedAsTheFileWritten) {
    const QString working = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(out)));
    const auto back = qScopeGuard([&] { QDir::setCurrent(working); });
    for (const char* typed : {"mailto:x.html", "https:x.html"}) {
        shell = testing::RecordingShell();
        goldenOptions(typed);
        w->Check1->setChecked(true);
        press();
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(outPath(typed)))) << typed;
        EXPECT_EQ(shell.openedFiles(), std::vector<std::string>{typed});
        EXPECT_EQ(shell.opened(), shell.openedFiles());
    }
}

TEST_F(MosaicRunWindow, CustomTextButtonAndBoxFollowTheModeAfterARun) {
    usePicture(Picture(2, 2, 0x808080));
    w->Text2->setText(QString::fromStdString(outPath()));
    for (int mode = 0; mode < 7; ++mode) {
        for (const bool enabledBefore : {false, true}) {
            SCOPED_TRACE("mode " + std::to_string(mode) + (enabledBefore ? " enabled" : ""));
            w->selectComboIndex(w->Combo2, mode);
            w->Command4->setEnabled(enabledBefore);
            w->Text3->setEnabled(enabledBefore);
            press();
            EXPECT_EQ(w->Command4->isEnabled(), mode == 0);
            EXPECT_EQ(w->Text3->isEnabled(), mode == 0 || mode == 6);
            EXPECT_TRUE(w->Combo3->isEnabled());
        }
    }
}

TEST_F(MosaicRunWindow, OneLineBreakOfTheCustomTextGivesTwoSpacers) {
    usePicture(Picture(3, 1, 0x808080));
    w->Text2->setText(QString::fromStdString(outPath()));
    w->selectComboIndex(w->Combo2, 0);
    w->Combo3->setCurrentIndex(0);
    w->Text3->setText("a\r\nb");
    press();
    // "a++b" is even, so two more spacers: the cells read a+, +b, ++.
    EXPECT_NE(page().find("\">a++b++\r\n"), std::string::npos) << page();
}

// One spacer per CR and per LF of the custom text, whichever line ends its file, drop or paste
// brought in.
TEST_F(MosaicRunWindow, TheCustomTextKeepsTheLineEndsItCameWith) {
    usePicture(Picture(3, 1, 0x808080));
    w->Text2->setText(QString::fromStdString(outPath()));
    w->selectComboIndex(w->Combo2, 0);
    w->Combo3->setCurrentIndex(0);
    struct Case {
        const char* bytes;
        const char* cells;  // "a+b" is odd: one more spacer; "a++b" is even: two
    };
    const Case cases[] = {{"a\nb", "a+b+a+"}, {"a\rb", "a+b+a+"}, {"a\r\nb", "a++b++"}};
    enum class Way { File, Drop, Paste };
    for (const Case& c : cases) {
        for (Way way : {Way::File, Way::Drop, Way::Paste}) {
            const std::string txt = out + "/custom.txt";
            std::ofstream(txt, std::ios::binary) << c.bytes;
            w->Text3->setText("other");
            switch (way) {
                case Way::File:
                    dialogs.answerOpen(txt);
                    w->Command4_Click();
                    break;
                case Way::Drop:
                    dialogs.answerMsgBox(mb::Yes);
                    w->Text3_OLEDragDrop({txt});
                    break;
                case Way::Paste:
                    QApplication::clipboard()->setText(QString::fromLatin1(c.bytes));
                    w->Text3->selectAll();
                    w->Text3->paste();
                    break;
            }
            press();
            EXPECT_NE(page().find(std::string("\">") + c.cells + "\r\n"), std::string::npos)
                << ::testing::PrintToString(c.bytes) << " way " << static_cast<int>(way) << ": "
                << page();
        }
    }
    EXPECT_EQ(dialogs.msgBoxes().size(), 3u);
}

TEST_F(MosaicRunWindow, BarFollowsTheProgressAndIsRepaintedFromIt) {
    // 1,255 cells over a bar of 251 pixels: five cells a pixel, one pixel a row.
    usePicture(Picture(5, 251, 0x808080));
    w->Text2->setText(QString::fromStdString(outPath()));
    ASSERT_EQ(w->picStatus->width(), 251);
    const Colour bar = SystemColours::resolve(kBarColour);
    const Colour back = SystemColours::resolve(w->picStatus->box().backColor());
    auto column = [&](int x) {
        std::string shades;
        for (int y = 0; y < w->picStatus->box().height(); ++y) {
            const Colour c = w->picStatus->box().point(x, y);
            shades += c == bar ? '#' : c == back ? '.' : '?';
        }
        return shades;
    };
    const std::string cut = "." + std::string(14, '#') + ".";
    const std::string full(16, '#');
    const std::string empty(16, '.');
    bool atStart = false;
    bool atRow = false;
    pump.setOnYield([&] {
        if (pump.yieldCount() != 1)
            return;
        // The first cell's turn comes before it is counted: a bar of no width.
        atStart = true;
        EXPECT_EQ(w->ProgressPos, 0);
        w->picStatus->box().surface().fill(0x123456);
        (void)w->picStatus->grab();
        EXPECT_EQ(column(0), "." + std::string(14, '?') + ".");
        EXPECT_EQ(column(1), std::string(16, '?'));
        w->picStatus->box().cls();
    });
    onRowEnd(100, [&] {
        atRow = true;
        EXPECT_EQ(w->ProgressPos, 500);
        EXPECT_EQ(column(0), cut);
        EXPECT_EQ(column(50), full);
        EXPECT_EQ(column(100), cut);
        EXPECT_EQ(column(101), empty);
        // Covered and uncovered: the paint draws the bar again from the progress.
        w->picStatus->box().surface().fill(back);
        const QImage shown = w->picStatus->grab().toImage();
        EXPECT_EQ(column(0), cut);
        EXPECT_EQ(column(99), full);
        EXPECT_EQ(column(100), cut);
        EXPECT_EQ(column(101), empty);
        EXPECT_EQ(shown.pixel(50, 8), qRgb(redOf(bar), greenOf(bar), blueOf(bar)));
        EXPECT_EQ(shown.pixel(100, 0), qRgb(redOf(back), greenOf(back), blueOf(back)));
    });
    press();
    EXPECT_TRUE(atStart);
    EXPECT_TRUE(atRow);
    EXPECT_EQ(w->ProgressPos, 1255);
    EXPECT_EQ(w->StatusScaleWidth, 0);

    // Idle, the paint clears the bar.
    drawProgressBar(w->picStatus->box(), 200);
    (void)w->picStatus->grab();
    for (const int x : {0, 100, 200, 250})
        EXPECT_EQ(column(x), empty) << x;
}

TEST(StatusPanel, SunkenBevelOfThicknessTwo) {
    const Colour paper = 0x010203;
    Picture surface(130, 40, paper);
    drawSunkenBevel(surface, {10, 5, 100, 20}, 2);
    const Colour shadow = SystemColours::resolve(syscolour::ButtonShadow);
    const Colour light = SystemColours::resolve(syscolour::ButtonHighlight);
    Picture expected(130, 40, paper);
    for (int x = 10; x <= 110; ++x) {
        expected.setPixel(x, 3, shadow);
        expected.setPixel(x, 27, light);
    }
    for (int y = 5; y <= 25; ++y) {
        expected.setPixel(8, y, shadow);
        expected.setPixel(112, y, light);
    }
    expected.setPixel(9, 4, shadow);
    expected.setPixel(111, 4, shadow);
    expected.setPixel(9, 26, light);
    expected.setPixel(111, 26, light);
    EXPECT_EQ(surface, expected);
}

TEST_F(MosaicRunWindow, WindowPaintFramesTheBarHolderWhileItIsShown) {
    const Colour shadow = SystemColours::resolve(syscolour::ButtonShadow);
    const Colour light = SystemColours::resolve(syscolour::ButtonHighlight);
    const QRect holder = w->picStatHandler->geometry();
    PictureBox& surface = w->statusBack->box();

    w->picStatHandler->hide();
    (void)w->statusBack->grab();
    EXPECT_NE(surface.point(holder.x(), holder.y() - 2), shadow);

    w->picStatHandler->show();
    (void)w->statusBack->grab();
    EXPECT_EQ(surface.width(), w->statusBack->width());
    EXPECT_EQ(surface.point(holder.x(), holder.y() - 2), shadow);
    EXPECT_EQ(surface.point(holder.x() - 2, holder.bottom()), shadow);
    EXPECT_EQ(surface.point(holder.right() + 3, holder.y()), light);
    EXPECT_EQ(surface.point(holder.right(), holder.bottom() + 3), light);
}

TEST_F(MosaicRunWindow, SizePreviewShowsTheEstimate) {
    struct Case {
        QLocale locale;
        int width;
        int height;
        const char* title;
        const char* size;
    };
    const QLocale before;
    const QLocale german(QLocale::German, QLocale::Germany);
    for (const Case& c : {Case{QLocale::c(), 1, 1, "", "303"},
                          Case{QLocale::c(), 100, 100, "Image From photo.bmp", "310,490"},
                          Case{QLocale::c(), 100, 100, "Image From photobmp", "310,489"},
                          Case{german, 100, 100, "Image From photobmp", "310.489"},
                          Case{german, 1000, 1000, "", "31.002.270"}}) {
        QLocale::setDefault(c.locale);
        dialogs.clearRecord();
        usePicture(Picture(c.width, c.height));
        w->Text4->setText(c.title);
        w->selectComboIndex(w->Combo2, 3);
        w->mnuFSP->trigger();
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
                  std::string("The estimated output size for this image is ") + c.size +
                      " bytes.\r\n(The actual size may be smaller due to redundant pixels)");
        EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::Information);
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Estimated Output Size Preview");
    }
    QLocale::setDefault(before);
}

TEST_F(MosaicRunWindow, UnwritableOutputFolderIsReportedAndTheWindowGoesBackToIdle) {
    w = openMain({"/speedlog"});
    const std::string path = out + "/missing/page.html";
    goldenOptions(path);
    w->Check1->setChecked(true);
    swatch = w->Picture3b->box().backColor();
    press();

    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    const std::string& prompt = dialogs.msgBoxes()[0].prompt;
    EXPECT_EQ(prompt.rfind("The HTML Mosaic could not be written.\r\n", 0), 0u) << prompt;
    EXPECT_NE(prompt.find(path), std::string::npos) << prompt;
    EXPECT_GT(prompt.size(), prompt.find(path) + path.size() + 2) << "no reason: " << prompt;
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error Creating Mosaic");
    expectIdle("after the failure");
    EXPECT_NE(w->Label6->text(), "Completed!");
    EXPECT_TRUE(shell.opened().empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("tyspeed.log"))));
    EXPECT_TRUE(w->Text2->isEnabled());
}

// A custom text the run has not the memory to read is told before anything of the run shows;
// the window stays idle, with its picture and its text.
TEST_F(MosaicRunWindow, ACustomTextBeyondTheMemoryForTheRunIsToldAndTheWindowStaysIdle) {
    w = openMain();
    const std::string path = outPath();
    goldenOptions(path);
    w->selectComboIndex(w->Combo2, 0);
    std::string text;
    while (text.size() < (std::size_t{16} << 20))
        text += std::string(70, 'w') + "\r\n";
    w->Text3->setUtf8Text(text);
    const Picture shown = w->srcPic->box().surface();
    std::vector<bool> enabled;
    for (QWidget* control : lockedControls())
        enabled.push_back(control->isEnabled());
    {
        testing::AddressSpaceLimit limit(std::size_t{8} << 20);
        if (!limit.active())
            GTEST_SKIP() << "the address space cannot be limited here";
        press();
    }
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              "The HTML Mosaic could not be written.\r\nThere is not enough memory to read the "
              "custom text.");
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error Creating Mosaic");
    EXPECT_EQ(w->Command2->text(), "Create Mosaic!");
    EXPECT_TRUE(w->Command2->isEnabled());
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    EXPECT_TRUE(w->statusBack->isHidden());
    for (std::size_t i = 0; i < enabled.size(); ++i)
        EXPECT_EQ(lockedControls()[i]->isEnabled(), enabled[i])
            << lockedControls()[i]->objectName().toStdString();
    EXPECT_EQ(w->Picture3b->box().backColor(), swatch);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
    EXPECT_EQ(w->srcPic->box().surface(), shown);
    EXPECT_TRUE(w->Text3->utf8Text() == text);
}

TEST_F(MosaicRunWindow, ClipboardRunNeverFetchesThePageBack) {
    // Fetching the text of a page of hundreds of megabytes converts all of it once more.
    CountingClipboard counting;
    Services other{dialogs, settings, clock,    random,
                   pump,    shell,    counting, Folders::inOne(programFolder)};
    frmMain window(other, state, {});
    window.endProgram = [] {};
    window.Form_Load();
    window.Check3->setChecked(true);
    window.Command2->click();
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Complete");
    EXPECT_EQ(counting.reads, 0);
    EXPECT_TRUE(counting.hasText());
}

TEST_F(MosaicRunWindow, ClipboardThatTakesNothingIsReported) {
    DroppingClipboard dropping;
    ExhaustedClipboard exhausted;
    for (testing::MemoryClipboard* board :
         std::initializer_list<testing::MemoryClipboard*>{&dropping, &exhausted}) {
        dialogs.clearRecord();
        Services other{dialogs, settings, clock,  random,
                       pump,    shell,    *board, Folders::inOne(programFolder)};
        frmMain window(other, state, {});
        window.endProgram = [] {};
        window.Form_Load();
        const Colour before = window.Picture3b->box().backColor();
        window.Check3->setChecked(true);
        window.Command2->click();

        ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt.rfind(
                      "The HTML Mosaic could not be copied to your clipboard.\r\n", 0),
                  0u);
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error Creating Mosaic");
        EXPECT_EQ(window.Command2->text(), "Create Mosaic!");
        EXPECT_TRUE(window.Command2->isEnabled());
        EXPECT_TRUE(window.statusBack->isHidden());
        EXPECT_EQ(window.cursor().shape(), Qt::ArrowCursor);
        EXPECT_TRUE(window.SSTab1->isEnabled());
        EXPECT_EQ(window.Picture3b->box().backColor(), before);
        EXPECT_FALSE(window.Text2->isEnabled());
    }
}

TEST_F(MosaicRunWindow, SpeedLogRecordsTheRunAndAFailedLogIsReported) {
    w = openMain({"/speedlog"});
    goldenOptions(outPath());
    w->mnuHighP->trigger();
    w->mnuNormalP->trigger();
    w->mnuHighP->trigger();
    EXPECT_FALSE(w->mnuNormalP->isChecked());
    EXPECT_TRUE(w->mnuHighP->isChecked());
    press();
    EXPECT_EQ(pump.yieldCount(), 0);
    EXPECT_EQ(pump.doEventsCount(), 2);
    EXPECT_EQ(lastLine(readBytes(inProgram("tyspeed.log"))),
              "02:30:00 PM,10-12-05,02:30:00 PM,10-12-05,0,3,2,Smart Text,High,Complete");
    EXPECT_TRUE(dialogs.msgBoxes().empty());

    w->mnuNormalP->trigger();
    EXPECT_TRUE(w->mnuNormalP->isChecked());
    EXPECT_FALSE(w->mnuHighP->isChecked());
    QFile::remove(QString::fromStdString(inProgram("tyspeed.log")));
    QDir().mkpath(QString::fromStdString(inProgram("tyspeed.log")));
    press();
    EXPECT_EQ(page(), goldenFilePage());
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt.rfind("The speed log could not be written.\r\n", 0), 0u);
    EXPECT_EQ(w->Label6->text(), "Completed!");
}

TEST_F(MosaicRunWindow, ClosingDuringARunWaitsForItsCancelledEnd) {
    goldenOptions(outPath());
    usePicture(Picture(4, 5, 0xC8C8C8));
    w->show();
    onRowEnd(2, [&] {
        EXPECT_FALSE(w->close());
        EXPECT_EQ(w->Command2->text(), "Stop!");
        EXPECT_TRUE(w->isVisible());
    });
    pump.setOnYield([&] { EXPECT_EQ(programEnds, 0); });
    press();

    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(w->isVisible());
    const std::string written = page();
    EXPECT_EQ(countOf(written, "@@@@@@@@"), 2);
    EXPECT_NE(written.find("FILE INCOMPLETE!"), std::string::npos);
}

TEST_F(MosaicRunWindow, SaveAsDialogChoosesTheOutputPath) {
    dialogs.answerSave(out + "/first.html");
    w->Command3->click();
    ASSERT_EQ(dialogs.saves().size(), 1u);
    const FileDialogRequest& first = dialogs.saves()[0].request;
    EXPECT_EQ(first.filter, "HTML Document (*.html;*.htm)|*.htm;*.html|All Files (*.*)|*.*");
    EXPECT_EQ(first.flags, 133126);
    EXPECT_EQ(first.fileName, "");
    EXPECT_EQ(w->Text2->text().toStdString(), out + "/first.html");
    EXPECT_EQ(w->OutputDlgPath, out + "/first.html");
    EXPECT_EQ(w->Text2->cursorPosition(), w->Text2->text().size());

    // Typed paths do not become the dialog's start name; a cancel keeps everything.
    w->Text2->setText("typed.html");
    dialogs.cancelSave();
    w->Command3->click();
    EXPECT_EQ(dialogs.saves()[1].request.fileName, out + "/first.html");
    EXPECT_EQ(w->Text2->text(), "typed.html");
    EXPECT_EQ(w->OutputDlgPath, out + "/first.html");
}

TEST_F(MosaicRunWindow, TypingInTheMiddleOfTheOutputPathPutsTheCaretAtTheEnd) {
    w->Text2->setText("/tmp/page.html");
    w->Text2->setCursorPosition(4);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
    QApplication::sendEvent(w->Text2, &key);
    EXPECT_EQ(w->Text2->text(), "/tmpx/page.html");
    EXPECT_EQ(w->Text2->cursorPosition(), w->Text2->text().size());
}

TEST_F(MosaicRunWindow, ClipboardBoxSwitchesTheOutputFileGroup) {
    const std::vector<QWidget*> group{w->Label2, w->Text2, w->Command3, w->Check1, w->Frame1};
    for (const Qt::CheckState value :
         {Qt::Checked, Qt::Unchecked, Qt::Checked, Qt::PartiallyChecked}) {
        w->Check3->setCheckState(value);
        for (QWidget* control : group)
            EXPECT_EQ(control->isEnabled(), value != Qt::Checked)
                << control->objectName().toStdString() << " " << value;
    }
}

TEST_F(MosaicRunWindow, CustomTextFileFillsTheTextBox) {
    const std::string txt = out + "/words.txt";
    std::ofstream(txt, std::ios::binary) << "caf\xE9\r\nline";
    const std::string rtf = out + "/STYLED.RTF";
    std::ofstream(rtf, std::ios::binary) << "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\b bold} "
                                            "text\\par next}";
    const std::string missing = out + "/gone.txt";

    dialogs.answerOpen(txt);
    w->Command4->setEnabled(true);
    w->Command4->click();
    ASSERT_EQ(dialogs.opens().size(), 1u);
    EXPECT_EQ(dialogs.opens()[0].request.filter,
              "Text Documents (*.txt)|*.txt|Stripped Rich Text Format (*.rtf)|*.rtf");
    EXPECT_EQ(dialogs.opens()[0].request.flags, 137220);
    EXPECT_EQ(dialogs.opens()[0].request.fileName, "");
    EXPECT_EQ(w->Text3->text(), QString::fromUtf8("caf\xC3\xA9\r\nline"));
    EXPECT_EQ(w->TextFilePath, txt);
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);

    dialogs.answerOpen(rtf);
    w->mnuLoadText->trigger();
    EXPECT_EQ(dialogs.opens()[1].request.fileName, txt);
    EXPECT_EQ(w->Text3->text(), "bold text\r\nnext");

    dialogs.cancelOpen();
    w->mnuLoadText->trigger();
    EXPECT_EQ(w->Text3->text(), "bold text\r\nnext");
    EXPECT_EQ(w->TextFilePath, rtf);

    dialogs.answerOpen(missing);
    w->Command4->click();
    EXPECT_EQ(w->Text3->text().toStdString(), "Error loading " + missing);
    EXPECT_EQ(w->TextFilePath, missing);
}

// A file longer than a project can store, or one there is not the memory for at any step on the
// way into the box, is told in a box; the custom text and the picture stay.
TEST_F(MosaicRunWindow, ACustomTextFileTooLongOrBeyondTheMemoryIsToldAndChangesNothing) {
    const std::string tooLong = out + "/long.txt";
    std::ofstream(tooLong, std::ios::binary).close();
    std::filesystem::resize_file(tooLong, kMaxCustomTextBytes + 1);
    const std::string wide = out + "/wide.txt";
    std::ofstream(wide, std::ios::binary) << std::string(std::size_t{32} << 20, 'x');
    const struct {
        const char* name;
        const std::string& path;
        std::size_t headroom;  // 0: no limit
        Message box;
    } cases[] = {
        {"too long", tooLong, 16 << 20,
         customTextTooLargeMessage(tooLong, kMaxCustomTextBytes + 1)},
        {"no memory to read it", wide, 24 << 20, customTextMemoryMessage(wide)},
        {"no memory to make the box's text", wide, 80 << 20, customTextMemoryMessage(wide)},
    };
    w->Command4->setEnabled(true);
    w->Text3->setText("kept");
    const Picture shown = w->srcPic->box().surface();
    for (const auto& c : cases) {
        for (const bool dropped : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (dropped ? ", dropped" : ", chosen"));
            dialogs.clearRecord();
            {
                testing::AddressSpaceLimit limit(c.headroom);
                if (!limit.active())
                    GTEST_SKIP() << "the address space cannot be limited here";
                if (dropped) {
                    dialogs.answerMsgBox(mb::Yes);
                    w->Text3_OLEDragDrop({c.path});
                } else {
                    dialogs.answerOpen(c.path);
                    w->Command4->click();
                }
            }
            ASSERT_FALSE(dialogs.msgBoxes().empty());
            const auto& box = dialogs.msgBoxes().back();
            EXPECT_EQ(box.prompt, c.box.text);
            EXPECT_EQ(box.title, c.box.title);
            EXPECT_EQ(box.style, c.box.style);
            EXPECT_EQ(w->Text3->text(), "kept");
            EXPECT_EQ(w->srcPic->box().surface(), shown);
            EXPECT_EQ(w->TextFilePath, c.path);
            EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
        }
    }
}

// A custom text file costs a few times its size on its way into the box (the read, the
// conversion and the box's own text), however short its lines; without that memory, it is told
// as beyond the memory and the custom text stays.
TEST_F(MosaicRunWindow, ACustomTextFileCostsAFewTimesItsSize) {
    constexpr std::size_t kBytes = std::size_t{16} << 20;
    std::string lines;
    while (lines.size() < kBytes)
        lines += std::string(70, 'w') + "\r\n";
    lines.resize(kBytes);
    std::string shortLines;
    while (shortLines.size() < kBytes)
        shortLines += "x\n";
    const struct {
        const char* name;
        const std::string& text;
        std::size_t bound;  // in address space, times the file's size
    } cases[] = {{"ordinary.txt", lines, 4}, {"one-character.txt", shortLines, 6}};

    w->show();
    w->SSTab1->setCurrentIndex(1);
    w->Command4->setEnabled(true);
    QCoreApplication::processEvents();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = out + "/" + c.name;
        std::ofstream(path, std::ios::binary) << c.text;
        for (const std::size_t bound : {c.bound, std::size_t{1}}) {
            dialogs.clearRecord();
            w->Text3->setText("kept");
            dialogs.answerOpen(path);
            {
                testing::AddressSpaceLimit limit(bound * kBytes);
                if (!limit.active())
                    GTEST_SKIP() << "the address space cannot be limited here";
                w->Command4->click();
                QCoreApplication::processEvents();
            }
            if (bound == 1) {
                ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
                EXPECT_EQ(dialogs.msgBoxes()[0].prompt, customTextMemoryMessage(path).text);
                EXPECT_EQ(w->Text3->text(), "kept");
            } else {
                EXPECT_TRUE(dialogs.msgBoxes().empty());
                // Too long to print a difference of.
                EXPECT_TRUE(w->Text3->utf8Text() == c.text);
            }
        }
    }
}

}  // namespace
}  // namespace tess
