#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDropEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QUrl>
#include <array>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#include "ShellFixture.h"
#include "platform/Bmp.h"
#include "platform/SystemColours.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/GifFixture.h"
#include "workspace/PictureView.h"

namespace tess {
namespace {

constexpr const char* kNoFile = "<no file>";

// A picture whose corners tell it apart from any other of the same size.
Picture marked(int width, int height, Colour fill) {
    Picture picture(width, height, fill);
    picture.setPixel(0, 0, 0x123456);
    picture.setPixel(width - 1, height - 1, 0x654321);
    return picture;
}

// The bytes Qt writes for the picture in one of its formats ("JPEG", "ICO").
std::string encodedBy(const Picture& picture, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(toQImage(picture).save(&buffer, format, 100)) << format;
    return bytes.toStdString();
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return kNoFile;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The main window after its load, with a folder of pictures beside the program folder.
class WorkspaceWindow : public ShellFixture {
  protected:
    WorkspaceWindow() : pictures(QDir(root.path()).filePath("pictures").toStdString()) {
        QDir().mkpath(QString::fromStdString(pictures));
        w = openMain();
        sample = shown();
    }

    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string path = pictures + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string writeBmp(const std::string& name, const Picture& picture) const {
        return write(name, encodeBmp24(picture));
    }

    // Loads through the Browse button's dialog.
    void open(const std::string& path) {
        dialogs.answerOpen(path);
        w->Command1_Click();
    }
    void open(const Picture& picture) {
        std::ostringstream name;
        name << "p" << ++opened << "-" << picture.width() << "x" << picture.height() << ".bmp";
        open(writeBmp(name.str(), picture));
    }

    Picture shown() const { return w->srcPic->box().pictureOrImage(); }
    std::string undoFile() const { return readBytes(inProgram("~tesundo.dat")); }
    std::string texts() const {
        return w->Text4->text().toStdString() + " | " + w->Text1->text().toStdString();
    }

    // The viewport as designed: bars 15 pixels thick.
    void useDesignBars() {
        w->VScroll1->setGeometry(404, 0, 15, 186);
        w->HScroll1->setGeometry(0, 186, 404, 15);
        w->Picture2->setGeometry(404, 186, 15, 15);
        w->UpdateScrollBars();
    }

    // A drop from the desktop, delivered as Qt delivers it, then the window's deferred handling.
    bool dropOn(QWidget* target, const std::vector<std::string>& paths) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const std::string& path : paths)
            urls << QUrl::fromLocalFile(QString::fromStdString(path));
        mime.setUrls(urls);
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return enter.isAccepted() && drop.isAccepted();
    }

    std::string pictures;
    std::unique_ptr<frmMain> w;
    Picture sample;
    int opened = 0;
};

TEST_F(WorkspaceWindow, SamplePictureAtStartFitsWithItsEdgeLines) {
    EXPECT_EQ(w->srcPic->geometry(), QRect(0, 0, 140, 92));
    EXPECT_FALSE(w->HScroll1->isEnabled());
    EXPECT_FALSE(w->VScroll1->isEnabled());
    EXPECT_EQ(w->HScroll1->value(), 0);
    EXPECT_EQ(w->VScroll1->value(), 0);
    EXPECT_EQ(w->Label6->text(), "0x0 of 140x92 (Idle)");
    EXPECT_EQ((std::array{w->Line3.x1, w->Line3.y1, w->Line3.x2, w->Line3.y2}),
              (std::array{0, 92, 141, 92}));
    EXPECT_EQ((std::array{w->Line4.x1, w->Line4.y1, w->Line4.x2, w->Line4.y2}),
              (std::array{140, 0, 140, 93}));
    // The viewport's back colour is a system colour without an inverse: the design colour stays.
    EXPECT_EQ(w->Line3.borderColor, kEdgeLineDesignColour);
    EXPECT_EQ(w->Line4.borderColor, kEdgeLineDesignColour);

    // The lines show beside the picture, on the viewport behind it.
    const QImage view = w->Picture1->grab().toImage();
    const Colour highlight = SystemColours::resolve(kEdgeLineDesignColour);
    const QRgb line = qRgb(redOf(highlight), greenOf(highlight), blueOf(highlight));
    EXPECT_EQ(view.pixel(140, 50), line);
    EXPECT_EQ(view.pixel(70, 92), line);
    EXPECT_NE(view.pixel(141, 50), line);
    EXPECT_EQ(view.pixel(139, 50), toQImage(sample).pixel(139, 50));

    // The scratch picture waits hidden, without a picture of its own.
    EXPECT_TRUE(w->flipPic->isHidden());
    EXPECT_FALSE(w->flipPic->box().picture().has_value());
    EXPECT_EQ(w->flipPic->box().backColor(), syscolour::Window);
    EXPECT_EQ(w->flipPic->box().foreColor(), syscolour::WindowText);
}

TEST_F(WorkspaceWindow, ScrollBarsFollowThePictureSizeInTheDesignLayout) {
    useDesignBars();
    struct Case {
        int width, height;
        bool hEnabled;
        int hMax;
        bool vEnabled;
        int vMax;
    };
    const Case cases[] = {
        {140, 185, false, 0, false, 0},  // fits: one pixel less than the 186 available
        {140, 186, false, 0, true, 0},   // exactly as high as the room counts as not fitting
        {140, 500, false, 0, true, 314}, {403, 92, false, 0, false, 0},
        {404, 92, true, 0, false, 0},    {900, 700, true, 496, true, 514},
    };
    for (const Case& c : cases) {
        open(marked(c.width, c.height, 0x808080));
        const std::string at = std::to_string(c.width) + "x" + std::to_string(c.height);
        EXPECT_EQ(w->srcPic->size(), QSize(c.width, c.height)) << at;
        EXPECT_EQ(w->HScroll1->isEnabled(), c.hEnabled) << at;
        EXPECT_EQ(w->VScroll1->isEnabled(), c.vEnabled) << at;
        for (auto [bar, enabled, max] : {std::tuple{w->HScroll1, c.hEnabled, c.hMax},
                                         std::tuple{w->VScroll1, c.vEnabled, c.vMax}}) {
            if (!enabled)
                continue;
            EXPECT_EQ(bar->maximum(), max) << at;
            EXPECT_EQ(bar->pageStep(), 20) << at;
            EXPECT_EQ(bar->singleStep(), 10) << at;
        }
        EXPECT_EQ(w->Label6->text().toStdString(), "0x0 of " + at + " (Idle)");
    }
}

TEST_F(WorkspaceWindow, TallPictureScrolledToTheEndEndsAboveTheHorizontalBar) {
    useDesignBars();
    open(marked(140, 500, 0x808080));
    w->VScroll1->setValue(314);
    EXPECT_EQ(w->srcPic->y(), -314);
    EXPECT_EQ(w->srcPic->y() + w->srcPic->height(), w->HScroll1->y());
    EXPECT_EQ(w->Line4.y2, 187);
    // The bar goes no further than its maximum.
    w->VScroll1->setValue(400);
    EXPECT_EQ(w->srcPic->y(), -314);
}

TEST_F(WorkspaceWindow, RoomIsTheViewportLessTheStylesBarThickness) {
    const int roomHigh = w->Picture1->height() - w->HScroll1->height();
    const int roomWide = w->Picture1->width() - w->VScroll1->width();
    open(marked(roomWide + 7, roomHigh, 0x808080));
    EXPECT_TRUE(w->VScroll1->isEnabled());
    EXPECT_EQ(w->VScroll1->maximum(), 0);
    EXPECT_TRUE(w->HScroll1->isEnabled());
    EXPECT_EQ(w->HScroll1->maximum(), 7);
}

TEST_F(WorkspaceWindow, EdgeLinesFollowTheScrolledPicture) {
    open(marked(1000, 92, 0x808080));
    w->HScroll1->setValue(50);
    EXPECT_EQ(w->srcPic->pos(), QPoint(-50, 0));
    EXPECT_EQ(w->Line4.x1, 950);
    EXPECT_EQ(w->Line4.x2, 950);
    EXPECT_EQ(w->Line3.x2, 951);
    EXPECT_EQ(w->Line3.y1, 92);
}

TEST_F(WorkspaceWindow, ThePictureMovesWhenTheThumbIsReleased) {
    open(marked(140, 500, 0x808080));
    w->VScroll1->setSliderDown(true);
    w->VScroll1->setSliderPosition(100);
    EXPECT_EQ(w->srcPic->y(), 0);
    w->VScroll1->setSliderDown(false);
    EXPECT_EQ(w->srcPic->y(), -100);
    EXPECT_EQ(w->Line3.y1, 400);
}

TEST_F(WorkspaceWindow, AChangeOfSizeKeepsOrResetsTheScrollPosition) {
    useDesignBars();
    open(marked(600, 500, 0x808080));
    w->VScroll1->setValue(314);
    w->HScroll1->setValue(150);

    // Still too large: the position stays within the new maximum and the picture follows it.
    open(marked(500, 300, 0x808080));
    EXPECT_EQ(w->VScroll1->maximum(), 114);
    EXPECT_EQ(w->VScroll1->value(), 114);
    EXPECT_EQ(w->HScroll1->value(), 96);
    EXPECT_EQ(w->srcPic->pos(), QPoint(-96, -114));
    EXPECT_EQ(w->Line3.y1, 300 - 114);

    // Small enough to fit: both axes go back to 0 and the bars are disabled.
    open(marked(100, 100, 0x808080));
    EXPECT_FALSE(w->VScroll1->isEnabled());
    EXPECT_FALSE(w->HScroll1->isEnabled());
    EXPECT_EQ(w->VScroll1->value(), 0);
    EXPECT_EQ(w->HScroll1->value(), 0);
    EXPECT_EQ(w->srcPic->pos(), QPoint(0, 0));
    EXPECT_EQ(w->Line3.y1, 100);
    EXPECT_EQ(w->Line4.x1, 100);
}

TEST_F(WorkspaceWindow, OpenDialogLoadsThePictureAndKeepsTheShownOneForUndo) {
    const Picture a = marked(7, 5, 0x111111);
    const std::string path = writeBmp("a.bmp", a);
    state.ImageChanged = true;

    dialogs.cancelOpen();
    w->Command1_Click();
    ASSERT_EQ(dialogs.opens().size(), 1u);
    const FileDialogRequest& first = dialogs.opens()[0].request;
    EXPECT_EQ(first.filter,
              "Images (*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico)|*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico");
    EXPECT_EQ(first.flags, 137220);
    EXPECT_EQ(first.fileName, "");
    // Cancelled: nothing changed.
    EXPECT_EQ(shown(), sample);
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_EQ(undoFile(), kNoFile);

    open(path);
    EXPECT_EQ(shown(), a);
    EXPECT_EQ(w->ImagePath, path);
    EXPECT_EQ(texts(), "Image From " + path + " | " + path);
    EXPECT_EQ(w->Label6->text(), "0x0 of 7x5 (Idle)");
    EXPECT_FALSE(state.ImageChanged);
    EXPECT_EQ(undoFile(), encodeBmp24(sample));
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);

    // The next dialog starts at the last picture.
    dialogs.cancelOpen();
    w->Command1->click();
    EXPECT_EQ(dialogs.opens().back().request.fileName, path);
    EXPECT_TRUE(dialogs.msgBoxes().empty());
}

TEST_F(WorkspaceWindow, EverySupportedFormatLoads) {
    const Picture colours = [] {
        Picture p(3, 2, 0xFF0000);
        p.setPixel(0, 0, 0x0000FF);
        p.setPixel(1, 0, 0x00FF00);
        p.setPixel(2, 1, 0xFFFFFF);
        return p;
    }();
    struct Case {
        const char* name;
        std::string bytes;
        bool lossless;
    };
    const Case cases[] = {
        {"b.bmp", encodeBmp24(colours), true},
        {"b.DIB", encodeBmp24(colours), true},
        {"b.gif", testing::gifFixture(3, 2, {0, 1, 2, 2, 2, 3}), true},
        {"b.ico", encodedBy(colours, "ICO"), true},
        {"b.jpg", encodedBy(colours, "JPEG"), false},
        {"b.jpeg", encodedBy(colours, "JPEG"), false},
    };
    for (const Case& c : cases) {
        const std::string path = write(c.name, c.bytes);
        open(marked(9, 9, 0));  // something else first, so each case shows a change
        open(path);
        EXPECT_TRUE(dialogs.msgBoxes().empty()) << c.name << ": " << dialogs.msgBoxes()[0].prompt;
        EXPECT_EQ(w->Text1->text().toStdString(), path);
        EXPECT_EQ(w->srcPic->size(), QSize(3, 2)) << c.name;
        if (c.lossless) {
            EXPECT_EQ(shown(), colours) << c.name;
        }
    }
}

TEST_F(WorkspaceWindow, APictureThatCannotBeDecodedKeepsThePictureAndSavesItForUndo) {
    const Picture a = marked(7, 5, 0x111111);
    const std::string pathA = writeBmp("a.bmp", a);
    open(pathA);
    state.ImageChanged = true;  // as after an effect
    const std::string textsBefore = texts();
    w->Label6->setText("Completed!");  // as after a run

    const std::string bad = write("x.jpg", "plain text, not a picture");
    open(bad);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error Loading Image");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, 48);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              "Error loading image\r\n\"" + bad +
                  "\"\r\n\r\ntessaryn q4 only supports BMP, JPG, GIF, DIB, and ICO image formats.");
    EXPECT_EQ(shown(), a);
    EXPECT_EQ(w->ImagePath, bad);
    EXPECT_EQ(texts(), textsBefore);
    EXPECT_EQ(w->Label6->text(), "0x0 of 7x5 (Idle)");
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_EQ(undoFile(), encodeBmp24(a));
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);

    // The next undo brings back the same picture that is still shown; the dialog starts at the
    // file that failed.
    w->mnuUndo_Click();
    EXPECT_EQ(shown(), a);
    dialogs.cancelOpen();
    w->Command1_Click();
    EXPECT_EQ(dialogs.opens().back().request.fileName, bad);
}

TEST_F(WorkspaceWindow, LoadAThenBThenUndoTwiceSwapsThem) {
    const Picture a = marked(7, 5, 0x111111);
    const Picture b = marked(3, 500, 0x222222);
    open(writeBmp("a.bmp", a));
    open(writeBmp("b.bmp", b));

    w->mnuUndo->trigger();
    EXPECT_EQ(shown(), a);
    EXPECT_EQ(texts(), "Image From Undo | Using Undo Image");
    EXPECT_EQ(w->Label6->text(), "0x0 of 7x5 (Idle)");
    EXPECT_FALSE(w->VScroll1->isEnabled());
    // The picture is no longer the file a project would copy.
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_TRUE(w->mnuUndo->isEnabled());

    w->mnuUndo->trigger();
    EXPECT_EQ(shown(), b);
    EXPECT_TRUE(w->VScroll1->isEnabled());
    EXPECT_EQ(w->Label6->text(), "0x0 of 3x500 (Idle)");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("~tesundo2.dat"))));
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(WorkspaceWindow, AStaleSwapFileDoesNotBreakUndo) {
    std::ofstream(inProgram("~tesundo2.dat"), std::ios::binary) << "left by a run that crashed";
    const Picture a = marked(7, 5, 0x111111);
    open(writeBmp("a.bmp", a));
    w->mnuUndo_Click();
    EXPECT_EQ(shown(), sample);
    EXPECT_EQ(undoFile(), encodeBmp24(a));
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("~tesundo2.dat"))));
}

// Links that another user put at the undo files' names (in a shared program folder) are replaced
// by the window's own files: a load, an undo and an effect never write through them.
TEST_F(WorkspaceWindow, LinksAtTheUndoFileNamesLeaveTheirTargetsAlone) {
    const std::string victim = write("victim.txt", "the victim's own bytes");
    const auto plantLinks = [&] {
        for (const char* name : {"~tesundo.dat", "~tesundo2.dat"}) {
            QFile::remove(QString::fromStdString(inProgram(name)));
            ASSERT_TRUE(QFile::link(QString::fromStdString(victim),
                                    QString::fromStdString(inProgram(name))));
        }
    };
    plantLinks();
    const auto undoOffered = [&] {
        w->mnuEdit_Click();
        return w->mnuUndo->isEnabled();
    };
    // A link is no undo copy of ours.
    EXPECT_FALSE(undoOffered());
    const Picture a = marked(7, 5, 0x111111);
    open(writeBmp("a.bmp", a));
    EXPECT_EQ(undoFile(), encodeBmp24(sample));
    plantLinks();
    const Picture b = marked(4, 6, 0x222222);
    open(writeBmp("b.bmp", b));
    w->mnuUndo_Click();
    EXPECT_EQ(shown(), a);
    w->mnuGrey_Click();
    for (const char* name : {"~tesundo.dat", "~tesundo2.dat"})
        EXPECT_FALSE(QFileInfo(QString::fromStdString(inProgram(name))).isSymLink()) << name;
    EXPECT_TRUE(undoOffered());
    EXPECT_EQ(QFileInfo(QString::fromStdString(inProgram("~tesundo.dat"))).permissions(),
              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    EXPECT_EQ(readBytes(victim), "the victim's own bytes");
}

TEST_F(WorkspaceWindow, UndoThatCannotSwapKeepsThePictureAndDisablesItself) {
    struct Case {
        const char* what;
        const char* undoBytes;  // nullptr: no undo file
    };
    for (const Case c : {Case{"no undo file", nullptr}, Case{"damaged undo file", "not a bmp"}}) {
        if (c.undoBytes)
            std::ofstream(inProgram("~tesundo.dat"), std::ios::binary) << c.undoBytes;
        w->mnuUndo->setEnabled(true);
        const std::string before = texts();
        w->mnuUndo_Click();
        EXPECT_EQ(shown(), sample) << c.what;
        EXPECT_EQ(texts(), before) << c.what;
        EXPECT_FALSE(w->mnuUndo->isEnabled()) << c.what;
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << c.what;
        EXPECT_TRUE(dialogs.msgBoxes().empty()) << c.what;
    }
}

TEST_F(WorkspaceWindow, SaveUndoDataKeepsTheAssignedPictureNotWhatWasDrawn) {
    w->srcPic->box().pset(3, 3, 0x0000FF);
    w->SaveUndoData();
    EXPECT_EQ(undoFile(), encodeBmp24(sample));
}

TEST_F(WorkspaceWindow, PictureDropsAskAndLoad) {
    const Picture b = marked(30, 20, 0x224466);
    const std::string jpeg = write("Photo.JPEG", encodedBy(b, "JPEG"));
    const std::string bmp = writeBmp("p.bmp", b);
    struct Case {
        const char* target;
        void (frmMain::*handler)(const std::vector<std::string>&);
    };
    const Case targets[] = {{"srcPic", &frmMain::srcPic_OLEDragDrop},
                            {"Picture1", &frmMain::Picture1_OLEDragDrop},
                            {"Command1", &frmMain::Command1_OLEDragDrop},
                            {"Text1", &frmMain::Text1_OLEDragDrop}};
    for (const Case& c : targets) {
        open(marked(9, 9, 0));
        dialogs.clearRecord();
        dialogs.answerMsgBox(mb::Yes);
        (w.get()->*c.handler)({jpeg});
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u) << c.target;
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Load Image?");
        EXPECT_EQ(dialogs.msgBoxes()[0].style, 36);
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
                  "Are you sure you want to load the image from\r\n\"" + jpeg + "?\"");
        EXPECT_EQ(w->srcPic->size(), QSize(30, 20)) << c.target;
        EXPECT_EQ(w->ImagePath, jpeg) << c.target;
        EXPECT_EQ(texts(), "Image From " + jpeg + " | " + jpeg);
        EXPECT_EQ(undoFile(), encodeBmp24(marked(9, 9, 0))) << c.target;
    }

    // Answered No: nothing changes.
    dialogs.clearRecord();
    dialogs.answerMsgBox(mb::No);
    w->srcPic_OLEDragDrop({bmp});
    EXPECT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(w->ImagePath, jpeg);
    EXPECT_EQ(undoFile(), encodeBmp24(marked(9, 9, 0)));
}

TEST_F(WorkspaceWindow, DropsThatAreNotForTheTargetAreIgnored) {
    const std::string bmp = writeBmp("p.bmp", marked(30, 20, 0x224466));
    const std::string doc = write("notes.doc", "words");
    const std::string txt = write("notes.txt", "words");
    w->srcPic_OLEDragDrop({doc});
    w->Text1_OLEDragDrop({txt});
    w->Text3_OLEDragDrop({bmp});
    w->Picture1_OLEDragDrop({});
    EXPECT_TRUE(dialogs.msgBoxes().empty());

    w->Command1_OLEDragDrop({bmp, txt});
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Cannot Load Files");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, 48);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              "tessaryn q4 can only support dragging of 1 file, you have dragged 2 files.");
    EXPECT_EQ(shown(), sample);
    EXPECT_EQ(undoFile(), kNoFile);
    EXPECT_EQ(dialogs.unansweredCount(), 1);  // the box is only shown
}

TEST_F(WorkspaceWindow, TextDropsFillTheCustomText) {
    const std::string readme = write("README.TXT", "first line\r\nsecond \xBD line");
    const std::string rich = write("pattern.rtf",
                                   "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par "
                                   "W\\'f6rld}");
    const std::string missing = pictures + "/gone.txt";
    struct Case {
        std::string path;
        std::string text;
    };
    const Case cases[] = {
        {readme, "first line\r\nsecond \u00BD line"},
        {rich, "Hello\r\nW\u00F6rld"},
        {missing, "Error loading " + missing},
    };
    for (const Case& c : cases) {
        dialogs.clearRecord();
        dialogs.answerMsgBox(mb::Yes);
        w->Text3_OLEDragDrop({c.path});
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Load Custom Text?");
        EXPECT_EQ(dialogs.msgBoxes()[0].style, 36);
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
                  "Are you sure you want to load custom text data from\r\n\"" + c.path + "?\"");
        EXPECT_EQ(w->Text3->text().toStdString(), c.text) << c.path;
        EXPECT_EQ(w->TextFilePath, c.path);
    }
    // The picture and the undo copy are not touched.
    EXPECT_EQ(shown(), sample);
    EXPECT_EQ(undoFile(), kNoFile);

    dialogs.clearRecord();
    dialogs.answerMsgBox(mb::No);
    w->Text3_OLEDragDrop({readme});
    EXPECT_EQ(w->TextFilePath, missing);
}

TEST_F(WorkspaceWindow, DesktopDropsReachEveryTargetAndNeverBecomeText) {
    w->selectComboIndex(w->Combo2, 0);  // custom text mode enables Text3
    const std::string bmp = writeBmp("p.bmp", marked(30, 20, 0x224466));
    const std::string txt = write("words.txt", "dropped words");

    for (QWidget* target : {static_cast<QWidget*>(w->srcPic), static_cast<QWidget*>(w->Picture1),
                            static_cast<QWidget*>(w->Command1), static_cast<QWidget*>(w->Text1)}) {
        open(marked(9, 9, 0));
        dialogs.clearRecord();
        dialogs.answerMsgBox(mb::Yes);
        EXPECT_TRUE(dropOn(target, {bmp})) << target->objectName().toStdString();
        EXPECT_EQ(w->srcPic->size(), QSize(30, 20)) << target->objectName().toStdString();
    }
    // A text file on the source line is not taken, and its address is not typed into it either.
    dialogs.clearRecord();
    EXPECT_TRUE(dropOn(w->Text1, {txt}));
    EXPECT_EQ(w->Text1->text().toStdString(), bmp);
    EXPECT_TRUE(dialogs.msgBoxes().empty());

    dialogs.answerMsgBox(mb::Yes);
    EXPECT_TRUE(dropOn(w->Text3->viewport(), {txt}));
    EXPECT_EQ(w->Text3->text(), "dropped words");
}

TEST_F(WorkspaceWindow, CopyThenPasteThenUndo) {
    const Picture a = marked(7, 5, 0x111111);
    open(writeBmp("a.bmp", a));
    // What an effect drew is copied, not the picture underneath.
    w->srcPic->box().pset(3, 3, 0x0000FF);
    Picture drawn = a;
    drawn.setPixel(3, 3, 0x0000FF);
    w->mnuCopy->trigger();
    ASSERT_TRUE(clipboard.picture().has_value());
    EXPECT_EQ(*clipboard.picture(), drawn);
    EXPECT_EQ(clipboard.clearCount(), 1);

    w->mnuPasteImage->trigger();
    EXPECT_EQ(shown(), drawn);
    EXPECT_EQ(texts(), "Image From Clipboard | Using Clipboad Image");
    EXPECT_EQ(w->Label6->text(), "0x0 of 7x5 (Idle)");
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_EQ(undoFile(), encodeBmp24(a));

    w->mnuUndo_Click();
    EXPECT_EQ(shown(), a);
    EXPECT_TRUE(dialogs.msgBoxes().empty());
}

TEST_F(WorkspaceWindow, PasteWithoutAReadablePictureChangesNothing) {
    open(writeBmp("a.bmp", marked(7, 5, 0x111111)));
    const Picture before = shown();
    const std::string undoBefore = undoFile();
    const std::string textsBefore = texts();
    for (bool offered : {false, true}) {
        if (offered)
            clipboard.offerUnreadablePicture();
        dialogs.clearRecord();
        w->mnuPaste->trigger();
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u) << offered;
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error #481");
        EXPECT_EQ(dialogs.msgBoxes()[0].style, 48);
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt, "Error while pasting clipboard data!");
        EXPECT_EQ(shown(), before);
        EXPECT_EQ(texts(), textsBefore);
        EXPECT_EQ(undoFile(), undoBefore);
        EXPECT_FALSE(state.ImageChanged);
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    }
}

TEST_F(WorkspaceWindow, EditMenuStatesFollowTabUndoFileFocusAndClipboard) {
    struct Case {
        int tab;
        bool undoFile;
        bool cursorInText1;
        bool clipboardPicture;
        bool undo, copy, paste;
    };
    const Case cases[] = {
        {0, false, false, false, false, true, false}, {0, true, false, true, true, true, true},
        {0, true, true, true, true, false, true},     {1, true, false, true, false, false, true},
        {2, true, false, false, false, false, false}, {1, false, true, true, false, false, true},
    };
    for (const Case& c : cases) {
        QFile::remove(QString::fromStdString(inProgram("~tesundo.dat")));
        if (c.undoFile)
            w->SaveUndoData();
        clipboard.clear();
        if (c.clipboardPicture)
            clipboard.setPicture(marked(4, 4, 0));
        if (c.cursorInText1)
            w->Text1_GotFocus();
        else
            w->Text1_LostFocus();
        w->SSTab1->setCurrentIndex(c.tab);
        w->mnuEdit_Click();
        const std::string at = "tab " + std::to_string(c.tab) + (c.undoFile ? " undo" : "") +
                               (c.cursorInText1 ? " Text1" : "") +
                               (c.clipboardPicture ? " picture" : "");
        EXPECT_EQ(w->mnuUndo->isEnabled(), c.undo) << at;
        EXPECT_EQ(w->mnuCopy->isEnabled(), c.copy) << at;
        EXPECT_EQ(w->mnuPaste->isEnabled(), c.paste) << at;
    }
    // Copy does nothing while the cursor is in the source line (the box copies its own text).
    w->Text1_GotFocus();
    clipboard.clear();
    w->mnuCopy_Click();
    EXPECT_FALSE(clipboard.picture().has_value());
}

TEST_F(WorkspaceWindow, TheSourceLinesFocusDecidesCopyAndAMenuDoesNotTakeIt) {
    w->show();
    w->activateWindow();
    QApplication::setActiveWindow(w.get());
    QCoreApplication::processEvents();
    if (!w->isActiveWindow())
        GTEST_SKIP() << "the platform gives no window activation";

    w->Text1->setFocus(Qt::MouseFocusReason);
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->CopyIsImage);
    EXPECT_FALSE(w->mnuCopy->isEnabled());

    w->mnuEdit->popup(w->mapToGlobal(QPoint(0, 0)));
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->mnuEdit->isVisible());
    EXPECT_FALSE(w->CopyIsImage);
    EXPECT_FALSE(w->mnuCopy->isEnabled());
    w->mnuEdit->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(w->CopyIsImage);

    w->Command1->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->CopyIsImage);
    EXPECT_TRUE(w->mnuCopy->isEnabled());
}

// The Edit menu's shortcuts act on the states its opening gives, not on those of its last opening.
TEST_F(WorkspaceWindow, EditShortcutsActOnTheMenusStateAtTheirPress) {
    w->show();
    QApplication::setActiveWindow(w.get());
    QCoreApplication::processEvents();
    if (!w->isActiveWindow())
        GTEST_SKIP() << "the platform gives no window activation";
    const Picture a = marked(7, 5, 0x111111);
    const Picture pasted = marked(4, 6, 0x00FF00);
    auto press = [&](int tab, Qt::Key key) {
        w->SSTab1->setCurrentIndex(tab);
        w->Command2->setFocus(Qt::TabFocusReason);
        QCoreApplication::processEvents();
        QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
    };

    // An undo with nothing to undo disables the item; a load gives it something again.
    w->mnuUndo_Click();
    ASSERT_FALSE(w->mnuUndo->isEnabled());
    open(writeBmp("a.bmp", a));
    press(0, Qt::Key_Z);
    EXPECT_EQ(shown(), sample);
    EXPECT_EQ(texts(), "Image From Undo | Using Undo Image");

    // The menu last opened on another tab with an empty clipboard.
    w->SSTab1->setCurrentIndex(1);
    w->mnuEdit_Click();
    ASSERT_FALSE(w->mnuCopy->isEnabled());
    ASSERT_FALSE(w->mnuPaste->isEnabled());
    press(0, Qt::Key_C);
    EXPECT_EQ(clipboard.picture(), sample);
    clipboard.setPicture(pasted);
    press(0, Qt::Key_V);
    EXPECT_EQ(shown(), pasted);

    // Enabled at the last opening, but not on the tab the press comes from.
    w->SSTab1->setCurrentIndex(0);
    w->mnuEdit_Click();
    ASSERT_TRUE(w->mnuUndo->isEnabled());
    press(1, Qt::Key_Z);
    EXPECT_EQ(shown(), pasted);
    EXPECT_TRUE(dialogs.msgBoxes().empty());
}

TEST_F(WorkspaceWindow, RightClickOnThePictureOpensItsPopUp) {
    w->show();
    emit w->srcPic->mouseReleased(1, 0, 10, 10);
    EXPECT_FALSE(w->mnuHIDImage->isVisible());

    for (bool picture : {false, true}) {
        clipboard.clear();
        if (picture)
            clipboard.setPicture(marked(4, 6, 0x00FF00));
        emit w->srcPic->mouseReleased(2, 0, 10, 10);
        EXPECT_TRUE(w->mnuHIDImage->isVisible());
        EXPECT_TRUE(w->mnuCopyImage->isEnabled());
        EXPECT_EQ(w->mnuPasteImage->isEnabled(), picture);
        w->mnuHIDImage->close();
    }
    w->mnuPasteImage->trigger();
    EXPECT_EQ(shown(), marked(4, 6, 0x00FF00));
}

TEST_F(WorkspaceWindow, NothingChangesThePictureWhileAMosaicRuns) {
    const std::string bmp = writeBmp("p.bmp", marked(30, 20, 0x224466));
    const std::string txt = write("words.txt", "dropped words");
    w->SaveUndoData();
    clipboard.setPicture(marked(4, 4, 0));
    const std::string textBefore = w->Text3->text().toStdString();
    w->Command2->setText("Cancel");

    dialogs.answerMsgBox(mb::Yes);
    dialogs.answerOpen(bmp);
    w->srcPic_OLEDragDrop({bmp});
    w->Text3_OLEDragDrop({txt});
    w->Command1_OLEDragDrop({bmp, txt});
    w->Command1_Click();
    w->mnuPaste_Click();
    w->mnuUndo_Click();
    EXPECT_TRUE(dialogs.msgBoxes().empty());
    EXPECT_TRUE(dialogs.opens().empty());
    EXPECT_EQ(shown(), sample);
    EXPECT_EQ(w->Text3->text().toStdString(), textBefore);
    EXPECT_EQ(undoFile(), encodeBmp24(sample));

    w->mnuEdit_Click();
    EXPECT_FALSE(w->mnuUndo->isEnabled());
    EXPECT_FALSE(w->mnuPaste->isEnabled());
    EXPECT_FALSE(w->mnuCopy->isEnabled());
    clipboard.clear();
    w->mnuCopy_Click();
    EXPECT_FALSE(clipboard.picture().has_value());

    // The picture's pop-up, which no click reaches during a run, still copies.
    w->mnuCopyImage_Click();
    EXPECT_EQ(clipboard.picture(), sample);

    w->Command2->setText("Create Mosaic!");
    w->mnuUndo_Click();
    EXPECT_EQ(texts(), "Image From Undo | Using Undo Image");
}

TEST_F(WorkspaceWindow, ShutDownDeletesTheUndoPair) {
    open(writeBmp("a.bmp", marked(7, 5, 0x111111)));
    w->mnuUndo_Click();
    ASSERT_NE(undoFile(), kNoFile);
    w->close();
    EXPECT_EQ(undoFile(), kNoFile);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("~tesundo2.dat"))));
    EXPECT_EQ(programEnds, 1);
}

}  // namespace
}  // namespace tess
