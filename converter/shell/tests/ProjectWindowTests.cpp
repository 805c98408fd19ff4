#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ShellFixture.h"
#include "platform/Bmp.h"
#include "platform/qt/QtPicture.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "platform/testing/GifFixture.h"
#include "projects/FileEncoder.h"
#include "projects/ProjectFile.h"

namespace tess {
namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : "<no file>";
}

Picture marked(int width, int height, Colour fill) {
    Picture picture(width, height, fill);
    picture.setPixel(0, 0, 0x123456);
    picture.setPixel(width - 1, height - 1, 0x654321);
    return picture;
}

std::string jpegOf(const Picture& picture) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(toQImage(picture).save(&buffer, "JPEG", 90));
    return bytes.toStdString();
}

// The main window after its load, with a folder for pictures and projects beside the program.
class ProjectWindow : public ShellFixture {
  protected:
    ProjectWindow() : files(QDir(root.path()).filePath("files").toStdString()) {
        QDir().mkpath(QString::fromStdString(files));
    }

    std::string write(const std::string& name, const std::string& bytes) const {
        const std::string path = files + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    void openPicture(frmMain& w, const std::string& path) {
        dialogs.answerOpen(path);
        w.Command1_Click();
    }
    void save(frmMain& w, const std::string& path) {
        dialogs.answerSave(path);
        w.mnuSaveProj->trigger();
    }
    void load(frmMain& w, const std::string& path) {
        dialogs.answerOpen(path);
        w.mnuLoadProj->trigger();
    }

    // What a project load may change, in one text.
    static std::string controls(const frmMain& w) {
        return w.Text4->text().toStdString() + "|" + std::to_string(w.CommonDialog1.Color) + "|" +
               w.Combo1->currentText().toStdString() + "|" +
               std::to_string(w.Combo2->currentIndex()) + "|" +
               std::to_string(w.Combo3->currentIndex()) + "|" + w.Text3->text().toStdString() +
               "|" + w.Text1->text().toStdString() + "|" + w.Label6->text().toStdString();
    }

    // After every command: nothing left locked or waiting.
    void expectUnlocked(const frmMain& w, const char* what) const {
        EXPECT_TRUE(w.isEnabled()) << what;
        EXPECT_FALSE(state.ProgressLock) << what;
        EXPECT_FALSE(state.NoCSSDialog) << what;
        EXPECT_TRUE(w.mnuSaveProj->isEnabled()) << what;
        EXPECT_TRUE(w.mnuLoadProj->isEnabled()) << what;
        EXPECT_EQ(w.cursor().shape(), Qt::ArrowCursor) << what;
    }

    std::string files;
};

TEST_F(ProjectWindow, ASavedProjectLoadsBackWithEveryOptionAndThePicture) {
    auto w = openMain();
    const Picture picture = marked(30, 20, 0x00C08040);
    openPicture(*w, write("cat.bmp", encodeBmp24(picture)));
    state.ImageChanged = true;  // as after an effect
    w->selectComboIndex(w->Combo2, 6);
    w->selectComboIndex(w->Combo3, 4);
    w->Combo1->setItemText(8, "CSS - Custom... (12px)");
    state.CSSSize = 12;
    state.CSSUnit = "px";
    w->Combo1->setCurrentIndex(8);
    w->Text4->setText("My \xC3\xA9 title");
    w->CommonDialog1.Color = 0x00FF8000;
    w->Text3->setText("line one\r\nline two\rthree\n");
    w->Check1->setChecked(true);
    const std::string project = files + "/work.tpw";
    save(*w, project);
    ASSERT_EQ(dialogs.msgBoxes().size(), 0u);
    ASSERT_EQ(dialogs.saves().size(), 1u);
    EXPECT_EQ(dialogs.saves()[0].request.filter,
              "Tessaryn Project Workspace (*.tpw;*.tpf)|*.tpw;*.tpf");
    EXPECT_EQ(dialogs.saves()[0].request.flags, 133126);
    EXPECT_EQ(bytesOf(project).substr(0, 8), "TPF20053");
    EXPECT_EQ(w->PrevFiles[0], project);
    expectUnlocked(*w, "after the save");

    // Everything changes; the load brings it back.
    const Picture other = marked(12, 9, 0x00000000);
    openPicture(*w, write("other.bmp", encodeBmp24(other)));
    w->selectComboIndex(w->Combo2, 1);
    w->selectComboIndex(w->Combo3, 0);
    w->selectComboIndex(w->Combo1, 0);
    state.CSSSize = 60;
    state.CSSUnit = "%";
    w->Text4->setText("other");
    w->CommonDialog1.Color = 0;
    w->Text3->setText("other");
    w->Text2->setText("/elsewhere/out.html");
    w->Check1->setChecked(false);
    const bool imageChanged = state.ImageChanged;

    load(*w, project);
    ASSERT_EQ(dialogs.msgBoxes().size(), 0u);
    EXPECT_EQ(dialogs.opens().back().request.flags, 137220);
    EXPECT_EQ(w->srcPic->box().surface(), picture);
    EXPECT_EQ(w->Combo1->currentIndex(), 8);
    EXPECT_EQ(w->Combo1->currentText(), "CSS - Custom... (12px)");
    EXPECT_EQ(state.CSSSize, 12);
    EXPECT_EQ(state.CSSUnit, "px");
    EXPECT_EQ(w->Picture5->box().backColor(), 0x00FF8000);
    EXPECT_EQ(w->cssDialog(), nullptr);
    EXPECT_EQ(w->Text4->text().toStdString(), "My \xC3\xA9 title");
    EXPECT_EQ(w->Combo2->currentIndex(), 6);
    EXPECT_EQ(w->Combo3->currentIndex(), 4);
    EXPECT_EQ(w->Text3->text().toStdString(), "line one\r\nline two\rthree\n");
    EXPECT_EQ(w->Text1->text().toStdString(), "Using Image From Tessaryn Project");
    EXPECT_EQ(w->Label6->text().toStdString(), "0x0 of 30x20 (Idle)");
    // The output path and the browser box stay as they are, and so does ImageChanged.
    EXPECT_EQ(w->Text2->text().toStdString(), "/elsewhere/out.html");
    EXPECT_FALSE(w->Check1->isChecked());
    EXPECT_EQ(state.ImageChanged, imageChanged);
    expectUnlocked(*w, "after the load");

    // Undo brings back the picture shown before the load.
    w->mnuUndo_Click();
    EXPECT_EQ(w->srcPic->box().surface(), other);
    // Nothing of the work stays in the program folder but the undo file.
    for (const QString& name : QDir(QString::fromStdString(programFolder)).entryList(QDir::Files))
        EXPECT_TRUE(name.startsWith("~tesundo")) << name.toStdString();
}

TEST_F(ProjectWindow, TheDialogsStartFromTheNamesLastChosen) {
    auto w = openMain();
    const std::string project = files + "/a.tpw";
    save(*w, project);
    dialogs.cancelSave();
    w->mnuSaveProj->trigger();
    ASSERT_EQ(dialogs.saves().size(), 2u);
    EXPECT_EQ(dialogs.saves()[1].request.fileName, project);
    load(*w, project);
    dialogs.cancelOpen();
    w->mnuLoadProj->trigger();
    EXPECT_EQ(dialogs.opens().back().request.fileName, project);
    EXPECT_EQ(dialogs.msgBoxes().size(), 0u);
    expectUnlocked(*w, "after the cancels");
}

TEST_F(ProjectWindow, ALoadedFileIsStoredAsItsOwnBytesUntilThePictureChanges) {
    auto w = openMain();
    const std::string jpeg = jpegOf(marked(16, 16, 0x00336699));
    openPicture(*w, write("photo.jpg", jpeg));
    ASSERT_FALSE(state.ImageChanged);
    save(*w, files + "/unchanged.tpw");
    state.ImageChanged = true;
    save(*w, files + "/changed.tpw");
    const std::string flagged = encodeBmp24(w->srcPic->box().surface());
    // The JPEG loaded afresh, then a real effect: the flag comes from the effect's frame, and the
    // bitmap is the new picture.
    openPicture(*w, files + "/photo.jpg");
    ASSERT_FALSE(state.ImageChanged);
    w->mnuDarken_Click();
    ASSERT_TRUE(state.ImageChanged);
    save(*w, files + "/effect.tpw");
    ASSERT_EQ(dialogs.msgBoxes().size(), 0u);

    Result<LoadedProject> unchanged = readProject(bytesOf(files + "/unchanged.tpw"));
    Result<LoadedProject> changed = readProject(bytesOf(files + "/changed.tpw"));
    Result<LoadedProject> effect = readProject(bytesOf(files + "/effect.tpw"));
    ASSERT_TRUE(unchanged.ok() && changed.ok() && effect.ok());
    EXPECT_TRUE(unchanged->picture == jpeg);
    EXPECT_EQ(changed->picture, flagged);
    EXPECT_EQ(effect->picture, encodeBmp24(w->srcPic->box().surface()));
    EXPECT_NE(effect->picture, flagged);
}

TEST_F(ProjectWindow, TheProgressWindowShowsEachStepWithTheMainWindowLocked) {
    auto w = openMain();
    std::vector<std::string> steps;
    pump.setOnDoEvents([&] {
        if (w->progressWindow().isLoaded()) {
            const frmSLProj& f = w->progressWindow().form();
            steps.push_back(f.Label1->text().toStdString() + " " + f.Label3->text().toStdString() +
                            (w->isEnabled() ? " (enabled)" : ""));
        }
    });
    const std::string project = files + "/steps.tpw";
    save(*w, project);
    load(*w, project);
    pump.setOnDoEvents({});
    const std::vector<std::string> expected = {
        "Saving... Compiling data...",      "Saving... Processing image data...",
        "Saving... Compressing project...", "Saving... Cleaning up...",
        "Loading... Opening file...",       "Loading... Expanding project...",
        "Loading... Loading settings...",   "Loading... Loading custom text...",
        "Loading... Loading image data...", "Loading... Cleaning up...",
    };
    EXPECT_EQ(steps, expected);
    EXPECT_FALSE(w->progressWindow().isLoaded());
}

TEST_F(ProjectWindow, AFailedSaveSaysWhyAndLeavesTheOldProject) {
    auto w = openMain();
    const std::string project = files + "/keep.tpw";
    save(*w, project);
    const std::string before = bytesOf(project);
    w->PrevFiles = {};

    w->Text4->setText(QString(513, 't'));
    save(*w, project);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error saving TPW or TPF");
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt, "Error saving " + project +
                                                ".\r\n\r\nThe page title is longer than 512 "
                                                "characters.");
    EXPECT_EQ(bytesOf(project), before);
    EXPECT_EQ(w->PrevFiles[0], "");

    // A folder that does not exist: the reason names the path.
    w->Text4->setText("ok");
    const std::string nowhere = files + "/missing/p.tpw";
    save(*w, nowhere);
    ASSERT_EQ(dialogs.msgBoxes().size(), 2u);
    EXPECT_NE(dialogs.msgBoxes()[1].prompt.find(nowhere), std::string::npos);
    EXPECT_EQ(w->PrevFiles[0], "");
    EXPECT_EQ(QDir(QString::fromStdString(files)).entryList(QDir::Files), QStringList{"keep.tpw"});
    expectUnlocked(*w, "after the failed saves");
}

TEST_F(ProjectWindow, ABadProjectIsRefusedAndChangesNothing) {
    auto w = openMain();
    const std::string good = bytesOf([&] {
        const std::string path = files + "/good.tpw";
        save(*w, path);
        return path;
    }());
    MosaicOptions options;
    options.Title = "from the bad file";
    options.FontSize = 3;
    options.Mode = 2;
    const std::string noPicture = *writeProjectFile(options, "not a picture at all");
    std::string badCrc = good;
    badCrc[8 + 12] = static_cast<char>(badCrc[8 + 12] ^ 1);
    std::string bomb = "TPF20053" + *EncodeFile(std::string(8 << 20, ' ')) + "\r\n";
    bomb[8 + 4] = 100;  // states 100 bytes of plain body
    for (int i = 1; i < 8; ++i)
        bomb[8 + 4 + i] = 0;
    const struct {
        const char* name;
        std::string bytes;
        const char* reason;
    } cases[] = {
        {"a picture", testing::gifFixture(1, 1, {0}), "The file is not a project."},
        {"empty", "", "The file is not a project."},
        {"cut short", good.substr(0, good.size() / 2), "The encoded data is cut short."},
        {"wrong check sum", badCrc, "The encoded data does not match its check sum."},
        {"decompression bomb", bomb, "The encoded data holds more than its stated length."},
        {"picture bytes that are no picture", noPicture, "The project's picture cannot be read"},
    };
    dialogs.clearRecord();
    w->PrevFiles = {};
    const std::string before = controls(*w);
    const Picture shownBefore = w->srcPic->box().surface();
    for (const auto& c : cases) {
        const std::string path = write(std::string(c.name) + ".tpw", c.bytes);
        load(*w, path);
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u) << c.name;
        const auto& box = dialogs.msgBoxes()[0];
        EXPECT_EQ(box.title, "Error loading TPW or TPF") << c.name;
        EXPECT_EQ(box.style, mb::OKOnly | mb::Exclamation) << c.name;
        EXPECT_EQ(box.prompt.rfind("Error loading " + path + ".\r\n\r\n" + c.reason, 0), 0u)
            << c.name << ": " << box.prompt;
        EXPECT_EQ(controls(*w), before) << c.name;
        EXPECT_EQ(w->srcPic->box().surface(), shownBefore) << c.name;
        EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(inProgram("~tesundo.dat"))))
            << c.name;
        EXPECT_EQ(w->PrevFiles[0], "") << c.name;
        expectUnlocked(*w, c.name);
        dialogs.clearRecord();
    }
    // A folder is no project either.
    std::string folder = files;
    w->LoadTProject(folder);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_NE(dialogs.msgBoxes()[0].prompt.find("is not a file"), std::string::npos);
}

// Without the memory for the custom text box's copy of a long custom text, the load is refused
// before anything changes.
TEST_F(ProjectWindow, ACustomTextBeyondTheMemoryRefusesTheLoadBeforeAnythingChanges) {
    auto w = openMain();
    MosaicOptions options;
    options.Title = "long text";
    options.CustomText = std::string(std::size_t{32} << 20, 'x');
    const std::string path =
        write("long.tpw", *writeProjectFile(options, encodeBmp24(marked(4, 4, 0x00FF00))));
    options.CustomText.clear();
    dialogs.clearRecord();
    const std::string before = controls(*w);
    const Picture shownBefore = w->srcPic->box().surface();
    {
        testing::AddressSpaceLimit limit(std::size_t{80} << 20);
        if (!limit.active())
            GTEST_SKIP() << "the address space cannot be limited here";
        load(*w, path);
    }
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              "Error loading " + path +
                  ".\r\n\r\nThere is not enough memory to load the project's custom text.");
    EXPECT_EQ(controls(*w), before);
    EXPECT_EQ(w->srcPic->box().surface(), shownBefore);
    expectUnlocked(*w, "after the refusal");
}

// A list without a selection is saved as -1 and comes back without one.
TEST_F(ProjectWindow, ListsWithoutASelectionLoadBackWithoutOne) {
    auto w = openMain();
    const Picture picture = marked(8, 6, 0x00C08040);
    openPicture(*w, write("cat.bmp", encodeBmp24(picture)));
    for (QComboBox* list : {w->Combo1, w->Combo2, w->Combo3})
        list->setCurrentIndex(-1);
    const std::string project = files + "/none.tpw";
    save(*w, project);
    ASSERT_EQ(dialogs.msgBoxes().size(), 0u);
    const Result<std::string> plain = DecodeFile(std::string_view(bytesOf(project)).substr(8));
    ASSERT_TRUE(plain.ok()) << plain.error().reason;
    EXPECT_EQ(plain->substr(791, 2) + plain->substr(803, 2) + plain->substr(807, 2), "-1-1-1");

    w->selectComboIndex(w->Combo1, 2);
    w->selectComboIndex(w->Combo2, 3);
    w->selectComboIndex(w->Combo3, 1);
    openPicture(*w, write("other.bmp", encodeBmp24(marked(5, 5, 0))));
    load(*w, project);
    ASSERT_EQ(dialogs.msgBoxes().size(), 0u) << dialogs.msgBoxes()[0].prompt;
    EXPECT_EQ(w->Combo1->currentIndex(), -1);
    EXPECT_EQ(w->Combo2->currentIndex(), -1);
    EXPECT_EQ(w->Combo3->currentIndex(), -1);
    EXPECT_EQ(w->srcPic->box().surface(), picture);
    expectUnlocked(*w, "after the load");
}

TEST_F(ProjectWindow, ANewerProjectAsksFirstAndNoLeavesEverythingAsItWas) {
    auto w = openMain();
    MosaicOptions options;
    options.Title = "newer";
    options.FontSize = 1;
    std::string file = *writeProjectFile(options, encodeBmp24(marked(4, 4, 0)));
    file.replace(0, 8, "TPF20054");
    const std::string path = write("newer.tpw", file);
    const std::string before = controls(*w);

    dialogs.answerMsgBox(mb::No);
    load(*w, path);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Unsupported TPW or TPF Version");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::YesNo | mb::Question);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              "This Tessaryn Project was created in a newer version of Tessaryn than you are "
              "currently running.\r\nThis project may not load correctly, do you wish to "
              "continue anyway?");
    EXPECT_EQ(controls(*w), before);
    expectUnlocked(*w, "after No");

    dialogs.answerMsgBox(mb::Yes);
    load(*w, path);
    EXPECT_EQ(dialogs.msgBoxes().size(), 2u);
    EXPECT_EQ(w->Text4->text(), "newer");
    expectUnlocked(*w, "after Yes");
}

TEST_F(ProjectWindow, TheCommandLineAndTheRecentFilesOpenProjects) {
    std::string path;
    {
        auto w = openMain();
        w->Text4->setText("from the command line");
        path = files + "/cmd.tpw";
        save(*w, path);
    }
    auto w = openMain({path});
    EXPECT_EQ(w->Text4->text(), "from the command line");
    EXPECT_EQ(w->Text1->text(), "Using Image From Tessaryn Project");
    EXPECT_EQ(w->PrevFiles[0], path);

    w->Text4->setText("changed");
    w->mnuPreviousFiles[0]->trigger();
    EXPECT_EQ(w->Text4->text(), "from the command line");
    EXPECT_EQ(dialogs.msgBoxes().size(), 0u);
    expectUnlocked(*w, "after the recent file");
}

TEST_F(ProjectWindow, TheProgressWindowIsOwnedByTheMainWindowAndLocksItByTheFlag) {
    auto w = openMain();
    state.ProgressLock = true;
    w->showProgress("Saving...", "a.tpw", "Compiling data...");
    frmSLProj& f = w->progressWindow().form();
    EXPECT_EQ(f.parentWidget(), w.get());
    EXPECT_FALSE(w->isEnabled());
    EXPECT_EQ(f.Label3->text(), "Compiling data...");
    w->progressWindow().unload();
    state.ProgressLock = false;
    EXPECT_TRUE(w->isEnabled());
}

}  // namespace
}  // namespace tess
