#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "platform/Bmp.h"
#include "projects/GraphicsLibrary.h"
#include "projects/qt/frmGFXLib.h"

namespace tess {
namespace {

// The main window with graphics libraries beside the program. browse() opens the browser from
// the menu item or the button and acts on it while it is open, as the user would.
class LibraryWindow : public ShellFixture {
  protected:
    void putLibrary(const std::string& name, const std::vector<LibraryRecord>& records) {
        Result<std::string> file = writeLibrary(records);
        ASSERT_TRUE(file.ok());
        const std::string path = inProgram("Graphics/" + name);
        touch(path);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << *file;
    }

    // Returns whether the browser was open while `act` ran.
    bool browse(frmMain& w, const std::function<void(frmGFXLib&)>& act, bool fromButton = false) {
        bool opened = false;
        QTimer::singleShot(0, &w, [&] {
            frmGFXLib* browser = w.libraryBrowser();
            if (!browser)
                return;
            opened = true;
            EXPECT_TRUE(browser->isVisible());
            EXPECT_FALSE(w.mnuGFXLib->isEnabled());
            EXPECT_FALSE(w.Command11->isEnabled());
            act(*browser);
            if (w.libraryBrowser() && w.libraryBrowser()->isLoaded())
                w.libraryBrowser()->Command2_Click();
        });
        if (fromButton)
            w.Command11->click();
        else
            w.mnuGFXLib->trigger();
        EXPECT_EQ(w.libraryBrowser(), nullptr);
        EXPECT_TRUE(w.mnuGFXLib->isEnabled());
        EXPECT_TRUE(w.Command11->isEnabled());
        EXPECT_TRUE(w.isEnabled());
        return opened;
    }
};

TEST_F(LibraryWindow, TakingAPictureMakesItTheWorkingPictureAndUndoBringsTheOldOneBack) {
    const Picture before(30, 20, 0x00C08040);
    putLibrary("default.tgl", {{"big.bmp", encodeBmp24(Picture(100, 60, 0x0000FF))},
                               {"sky_blue.bmp", encodeBmp24(Picture(8, 4, 0x00FF00))}});
    auto w = openMain();
    ASSERT_TRUE(w->mnuGFXLib->isEnabled());
    w->srcPic->box().setPicture(before);
    const std::string oldSource = w->Text1->text().toStdString();

    EXPECT_TRUE(browse(*w, [](frmGFXLib& b) {
        b.Image3_MouseUp(1, 0, 1, 1);
        b.picPreview_DblClick();
    }));
    EXPECT_EQ(w->srcPic->box().pictureOrImage(), Picture(8, 4, 0x00FF00));
    EXPECT_EQ(w->srcPic->size(), QSize(8, 4));
    EXPECT_EQ(w->Text4->text(), "Sky_blue From Default Graphics Library");
    EXPECT_EQ(w->Text1->text(), "Using Graphics Library Image");
    EXPECT_NE(w->Text1->text().toStdString(), oldSource);
    EXPECT_EQ(w->Label6->text(), "0x0 of 8x4");
    // The picture is no file's now: a project saved next stores it.
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_EQ(dialogs.msgBoxes().size(), 0u);

    w->mnuUndo_Click();
    EXPECT_EQ(w->srcPic->box().pictureOrImage(), before);

    // A picture larger than 48 x 48 arrives squeezed.
    EXPECT_TRUE(browse(
        *w, [](frmGFXLib& b) { b.picPreview_DblClick(); }, true));
    EXPECT_EQ(w->srcPic->box().pictureOrImage().width(), 48);
    EXPECT_EQ(w->srcPic->box().pictureOrImage().height(), 48);
    EXPECT_EQ(w->Label6->text(), "0x0 of 48x48");
    EXPECT_EQ(w->Text4->text(), "Big From Default Graphics Library");
}

TEST_F(LibraryWindow, CancelTakesNothing) {
    putLibrary("default.tgl", {{"a.bmp", encodeBmp24(Picture(8, 8, 0x0000FF))}});
    auto w = openMain();
    const Picture shown = w->srcPic->box().pictureOrImage();
    const QString title = w->Text4->text();
    EXPECT_TRUE(browse(*w, [](frmGFXLib& b) { b.Command2_Click(); }));
    EXPECT_EQ(w->srcPic->box().pictureOrImage(), shown);
    EXPECT_EQ(w->Text4->text(), title);
}

TEST_F(LibraryWindow, ABadLibraryGivesTheMessageAndLeavesNothingBehind) {
    const std::string path = inProgram("Graphics/default.tgl");
    touch(path);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "TGL11 a damaged body";
    auto w = openMain();
    const auto before = QDir(QString::fromStdString(programFolder))
                            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    EXPECT_FALSE(browse(*w, [](frmGFXLib&) {}));
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt, "Unable to load graphics library.");
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error");
    EXPECT_EQ(QDir(QString::fromStdString(programFolder))
                  .entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              before);
    EXPECT_FALSE(w->progressWindow().isLoaded());
}

}  // namespace
}  // namespace tess
