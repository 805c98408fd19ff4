#include <gtest/gtest.h>

#include <QAction>
#include <QBuffer>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Bmp.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/testing/LayoutCheck.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "platform/testing/CountingEventPump.h"
#include "platform/testing/FixedClock.h"
#include "platform/testing/GifFixture.h"
#include "platform/testing/MemoryClipboard.h"
#include "platform/testing/MemorySettingsStore.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/ScriptedRandom.h"
#include "platform/testing/TempFolder.h"
#include "projects/FileEncoder.h"
#include "projects/GraphicsLibrary.h"
#include "projects/qt/ProgressWindow.h"
#include "projects/qt/frmGFXLib.h"

namespace tess {
namespace {

std::string bmp(int width, int height, Colour colour = 0x336699) {
    return encodeBmp24(Picture(width, height, colour));
}

std::string library(const std::vector<LibraryRecord>& records) {
    Result<std::string> file = writeLibrary(records);
    EXPECT_TRUE(file.ok());
    return file.ok() ? *file : std::string();
}

// A library whose body is exactly `body`, as an outside builder might have written it.
std::string libraryOfBody(std::string_view body) {
    Result<std::string> encoded = EncodeFile(body);
    EXPECT_TRUE(encoded.ok());
    return "TGL10" + (encoded.ok() ? *encoded : std::string());
}

std::string text(const QLabel* label) {
    return label->text().toStdString();
}

// A GIF of 35 bytes with a 16000 x 16000 screen around its one pixel.
std::string hugeScreenGif() {
    std::string gif = testing::gifFixture(1, 1, {0});
    for (const std::size_t at : {std::size_t{6}, std::size_t{8}}) {
        gif[at] = static_cast<char>(16000 & 0xFF);
        gif[at + 1] = static_cast<char>(16000 >> 8);
    }
    return gif;
}

// A small JPEG whose frame header states 16384 x 16384: whole as a file, its scan far too short.
std::string cutHugeJpeg() {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(toQImage(Picture(16, 16, 0x3366CC)).save(&buffer, "JPEG", 90));
    std::string jpeg = bytes.toStdString();
    const std::size_t frame = jpeg.find("\xFF\xC0");
    EXPECT_NE(frame, std::string::npos);
    for (const std::size_t at : {frame + 5, frame + 7}) {
        jpeg[at] = static_cast<char>(16384 >> 8);
        jpeg[at + 1] = static_cast<char>(16384 & 0xFF);
    }
    return jpeg;
}

// A program folder with a "Graphics" folder, the browser's services and a main window it reports
// to; open() builds the browser and runs its load, as the main window's menu item does.
class LibraryBrowser : public ::testing::Test {
  protected:
    LibraryBrowser()
        : graphics(folder.file("Graphics")),
          services{dialogs, settings, clock,     random,
                   pump,    shell,    clipboard, Folders::inOne(folder.path())},
          progress(progressLinks()) {
        QDir().mkpath(QString::fromStdString(graphics));
        // What the progress window says at each turn, and whether the windows were locked then.
        pump.setOnDoEvents([this] {
            if (progress.isLoaded()) {
                steps.push_back(text(progress.form().Label3));
                if (main.isEnabled())
                    ++turnsWithMainEnabled;
            }
        });
    }

    ProgressWindowLinks progressLinks() {
        ProgressWindowLinks l;
        l.mainWindow = [this] { return &main; };
        l.pump = &pump;
        return l;
    }

    LibraryBrowserLinks links() {
        LibraryBrowserLinks l;
        l.services = &services;
        l.progressWindow = [this]() -> ProgressWindow& { return progress; };
        l.mainWindow = [this] { return &main; };
        l.libraryItemEnabled = [this] { return libraryItem; };
        l.setLibraryItemEnabled = [this](bool enabled) { libraryItem = enabled; };
        l.applyTooltipSetting = [this](QWidget&) { ++tooltipCalls; };
        l.applyTransparency = [this](QWidget&) { ++transparencyCalls; };
        l.takePicture = [this](const Picture& picture, const std::string& title) {
            taken.push_back({picture, title});
        };
        l.GFXArrowLeft = &GFXArrowLeft;
        return l;
    }

    void put(const std::string& name, const std::vector<LibraryRecord>& records) {
        testing::writeFileContents(graphics + "/" + name, library(records));
    }

    std::unique_ptr<frmGFXLib> open() {
        auto browser = std::make_unique<frmGFXLib>(links(), &main);
        QObject::connect(browser.get(), &frmGFXLib::unloaded, [this] { ++unloads; });
        browser->Form_Load();
        return browser;
    }

    std::vector<std::string> checkedEntries(const frmGFXLib& b) const {
        std::vector<std::string> checked;
        for (const QAction* item : b.mnuLibs) {
            if (item->isChecked())
                checked.push_back(item->text().toStdString());
        }
        return checked;
    }

    // Everything an unpacking or an unload must have left behind: no progress window, the main
    // window usable; after an unload, the library item as it was before the load.
    void expectCleanedUp(const char* what, bool itemEnabled = true) {
        EXPECT_FALSE(progress.isLoaded()) << what;
        EXPECT_TRUE(main.isEnabled()) << what;
        EXPECT_EQ(libraryItem, itemEnabled) << what;
    }

    void expectFailureMessage(const char* what) {
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u) << what;
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt, "Unable to load graphics library.") << what;
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error") << what;
        EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::OKOnly | mb::Exclamation) << what;
    }

    struct Taken {
        Picture picture;
        std::string title;
    };

    testing::TempFolder folder{"gfxlib"};
    std::string graphics;
    testing::ScriptedDialogs dialogs;
    testing::MemorySettingsStore settings;
    testing::FixedClock clock;
    testing::ScriptedRandom random;
    testing::CountingEventPump pump;
    testing::RecordingShell shell;
    testing::MemoryClipboard clipboard;
    Services services;
    QWidget main;
    ProgressWindow progress;
    bool libraryItem = true;
    int tooltipCalls = 0;
    int transparencyCalls = 0;
    std::int32_t GFXArrowLeft = 0;
    std::vector<Taken> taken;
    std::vector<std::string> steps;
    int turnsWithMainEnabled = 0;
    int unloads = 0;
};

TEST_F(LibraryBrowser, OpensTheDefaultLibraryWithEveryLibraryInItsMenu) {
    put("animals.tgl", {{"cat.bmp", bmp(10, 10)}, {"dog.bmp", bmp(10, 10)}});
    put("default.tgl", {{"sky_blue.bmp", bmp(20, 12)}});
    put("space_ships.tgl", {{"x.gif", bmp(5, 5)}});
    testing::writeFileContents(graphics + "/lower.tgl", "tgl11 not a library");

    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    EXPECT_EQ(b->TGLList,
              (std::vector<std::string>{"animals.tgl", "default.tgl", "space_ships.tgl"}));
    ASSERT_EQ(b->mnuLibs.size(), 3u);
    EXPECT_EQ(b->mnuLibs[0]->text(), "Animals");
    EXPECT_EQ(b->mnuLibs[2]->text(), "Space Ships");
    EXPECT_EQ(checkedEntries(*b), (std::vector<std::string>{"Default"}));
    EXPECT_EQ(b->CurrentLibName, "Default");
    EXPECT_EQ(b->BMPFile, (std::vector<std::string>{"sky_blue.bmp"}));
    EXPECT_EQ(text(b->Label1), "Image 1 of 1");
    EXPECT_EQ(text(b->Label3), "Sky_blue");
    EXPECT_FALSE(b->HScroll1->isEnabled());
    EXPECT_EQ(b->HScroll1->maximum(), 0);
    EXPECT_EQ(b->picPreview->size(), QSize(20, 12));

    // The unpacking's steps, each with the main window kept from input and the browser hidden.
    EXPECT_EQ(steps,
              (std::vector<std::string>{"Opening file...", "Analyzing data...",
                                        "Processing data...", "Processing data... sky_blue.bmp",
                                        "Loading images...", "Cleaning up..."}));
    EXPECT_EQ(turnsWithMainEnabled, 0);
    // Opened with the library item enabled, the load disables it until the unload.
    expectCleanedUp("after the load", false);
    EXPECT_FALSE(b->isVisible());
    EXPECT_TRUE(b->GFXMenuLocked);
    EXPECT_EQ(tooltipCalls, 1);
    EXPECT_EQ(transparencyCalls, 1);
    EXPECT_EQ(dialogs.msgBoxes().size(), 0u);

    b->Command2_Click();
    EXPECT_EQ(unloads, 1);
    EXPECT_TRUE(libraryItem);
    EXPECT_TRUE(taken.empty());
}

TEST_F(LibraryBrowser, TheStoredLibraryIsOpenedAgain) {
    put("animals.tgl", {{"cat.bmp", bmp(10, 10)}});
    put("Default.TGL", {{"sun.bmp", bmp(10, 10)}});
    const struct {
        const char* prev;
        std::string checked;
        std::string current;
    } cases[] = {
        {"", "Default", "Default"},
        {"ANIMALS.TGL", "Animals", "Animals"},
        {"Default.TGL", "Default", "Default"},
        {"gone.tgl", "Default", "Default"},
    };
    for (const auto& c : cases) {
        settings.save("Tessaryn32", "Settings", "PrevGFXLib", c.prev);
        auto b = open();
        ASSERT_TRUE(b->isLoaded()) << c.prev;
        EXPECT_EQ(checkedEntries(*b), std::vector<std::string>{c.checked}) << c.prev;
        EXPECT_EQ(b->CurrentLibName, c.current) << c.prev;
    }
}

TEST_F(LibraryBrowser, SwitchingLibrariesFromTheMenu) {
    put("default.tgl", {{"one.bmp", bmp(10, 10)}});
    put("three.tgl", {{"a.bmp", bmp(10, 10)}, {"b.bmp", bmp(49, 10)}, {"c.jpg", bmp(8, 8)}});
    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    main.show();
    b->show();
    ASSERT_FALSE(b->HScroll1->isEnabled());

    // The checked library again: nothing is unpacked, the timer goes on.
    steps.clear();
    b->mnuLibs[0]->trigger();
    EXPECT_TRUE(steps.empty());
    EXPECT_TRUE(b->Timer1->isActive());
    EXPECT_EQ(checkedEntries(*b), (std::vector<std::string>{"Default"}));

    b->mnuLibs[1]->trigger();
    EXPECT_EQ(checkedEntries(*b), (std::vector<std::string>{"Three"}));
    EXPECT_EQ(b->BMPFile, (std::vector<std::string>{"a.bmp", "b.bmp", "c.jpg"}));
    EXPECT_TRUE(b->HScroll1->isEnabled());
    EXPECT_EQ(b->HScroll1->maximum(), 2);
    EXPECT_EQ(b->HScroll1->value(), 0);
    EXPECT_EQ(text(b->Label1), "Image 1 of 3");
    EXPECT_EQ(text(b->Label3), "A");
    EXPECT_EQ(b->CurrentLibName, "Three");
    EXPECT_EQ(settings.get("Tessaryn32", "Settings", "PrevGFXLib"), "three.tgl");
    EXPECT_EQ(turnsWithMainEnabled, 0);
    expectCleanedUp("after the switch", false);
    EXPECT_TRUE(b->isVisible());
    EXPECT_TRUE(b->Timer1->isActive());
    EXPECT_EQ(unloads, 0);
    EXPECT_EQ(dialogs.msgBoxes().size(), 0u);
}

TEST_F(LibraryBrowser, ALoadThatFindsNoPictureSaysSoAndLeavesNothingBehind) {
    const std::string picture = bmp(4, 4);
    std::string corrupt = library({{"a.bmp", picture}});
    corrupt[corrupt.size() / 2] = static_cast<char>(corrupt[corrupt.size() / 2] ^ 0x5A);
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> files;
    } cases[] = {
        {"no library file", {}},
        {"lower-case mark only", {{"a.tgl", "tgl11" + library({{"a.bmp", picture}}).substr(5)}}},
        {"corrupt body", {{"default.tgl", corrupt}}},
        {"traversal names only",
         {{"default.tgl", libraryOfBody("TGL-FS:../a.bmp|" + std::to_string(picture.size()) +
                                        "\r\n" + picture + "\r\n")}}},
        {"pictures that do not decode", {{"default.tgl", library({{"a.bmp", "BM broken"}})}}},
        {"no picture kind", {{"default.tgl", library({{"a.png", picture}})}}},
        {"too large", {{"default.tgl", library({{"a.bmp", bmp(70, 212) + "x"}})}}},
    };
    for (const auto& c : cases) {
        QDir(QString::fromStdString(graphics)).removeRecursively();
        QDir().mkpath(QString::fromStdString(graphics));
        for (const auto& [name, bytes] : c.files)
            testing::writeFileContents(graphics + "/" + name, bytes);
        dialogs.clearRecord();
        unloads = 0;
        libraryItem = true;
        auto b = open();
        EXPECT_FALSE(b->isLoaded()) << c.name;
        expectFailureMessage(c.name);
        EXPECT_EQ(unloads, 1) << c.name;
        expectCleanedUp(c.name);
        EXPECT_FALSE(b->Timer1->isActive()) << c.name;
    }
}

TEST_F(LibraryBrowser, TraversalNamesAreSkippedAndNothingIsWrittenAnywhere) {
    std::string body;
    const std::string picture = bmp(6, 6);
    for (const char* name : {"../../escape.bmp", "..\\escape.bmp", "/tmp/escape.bmp"})
        body += "TGL-FS:" + std::string(name) + "|" + std::to_string(picture.size()) + "\r\n" +
                picture + "\r\n";
    body += "TGL-FS:kept.bmp|" + std::to_string(picture.size()) + "\r\n" + picture + "\r\n";
    testing::writeFileContents(graphics + "/default.tgl", libraryOfBody(body));

    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    EXPECT_EQ(b->BMPFile, (std::vector<std::string>{"kept.bmp"}));
    // The program folder holds what it held: the library alone.
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"Graphics"}));
    EXPECT_EQ(
        QDir(QString::fromStdString(graphics)).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
        QStringList{"default.tgl"});
}

TEST_F(LibraryBrowser, ASwitchToABrokenLibraryClosesTheBrowserCleanly) {
    put("default.tgl", {{"one.bmp", bmp(10, 10)}});
    testing::writeFileContents(graphics + "/zbroken.tgl", "TGL11 damaged");
    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    b->show();
    b->mnuLibs_Click(1);
    expectFailureMessage("switch");
    EXPECT_EQ(unloads, 1);
    expectCleanedUp("switch");
    EXPECT_FALSE(b->isVisible());
    EXPECT_FALSE(b->Timer1->isActive());
    // The setting keeps the library that loaded last.
    EXPECT_EQ(settings.get("Tessaryn32", "Settings", "PrevGFXLib", "<none>"), "<none>");
}

// Small records that state huge pictures: the library opens and browses within a bounded memory,
// each such picture decoded only when shown (a reduced decode, or a placeholder where the format
// has none) and by the whole loader only when taken, whose refusal is told.
TEST_F(LibraryBrowser, RecordsStatingHugePicturesOpenAndBrowseInBoundedMemory) {
    std::vector<LibraryRecord> records;
    constexpr int kEach = 8;
    for (int i = 0; i < kEach; ++i) {
        records.push_back({"a" + std::to_string(i) + ".gif", hugeScreenGif()});
        records.push_back({"b" + std::to_string(i) + ".jpg", cutHugeJpeg()});
    }
    records.push_back({"c.bmp", bmp(60, 30, 0x0000FF)});
    put("default.tgl", records);
    const int count = 2 * kEach + 1;

    testing::AddressSpaceLimit limit(std::size_t{384} << 20);
    if (!limit.active())
        GTEST_SKIP() << "the address space cannot be limited here";
    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    EXPECT_EQ(text(b->Label1), "Image 1 of " + std::to_string(count));
    ASSERT_EQ(b->picFromDisk.size(), static_cast<std::size_t>(count));
    // A GIF has no reduced decode: its placeholder is shown.
    EXPECT_EQ(b->picPreview->box().pictureOrImage(), placeholderThumbnail());
    for (int i = 1; i < count; ++i)
        b->Image3_MouseUp(1, 0, 1, 1);
    EXPECT_EQ(text(b->Label1), "Image " + std::to_string(count) + " of " + std::to_string(count));
    for (int i = 0; i < count; ++i) {
        const Picture& thumbnail = b->picFromDisk[static_cast<std::size_t>(i)];
        const std::string& name = b->BMPFile[static_cast<std::size_t>(i)];
        EXPECT_EQ(thumbnail.width(), 48) << name;
        EXPECT_EQ(thumbnail.height(), 48) << name;
        // The GIFs have no reduced decode; the JPEGs' reduced decode finds their scans cut.
        const Picture expected =
            name.back() == 'p' ? Picture(48, 48, 0x0000FF) : placeholderThumbnail();
        EXPECT_EQ(thumbnail, expected) << name;
    }

    // Taking a huge one runs the loader, whose refusal is told; the browser stays.
    for (const int i : {0, 2 * kEach - 1}) {
        dialogs.clearRecord();
        b->HScroll1->setValue(i);
        b->picPreview_DblClick();
        EXPECT_TRUE(taken.empty()) << i;
        EXPECT_TRUE(b->isLoaded()) << i;
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u) << i;
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error Loading Image") << i;
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt.rfind(
                      "The picture \"" + text(b->Label3) + "\" cannot be loaded: ", 0),
                  0u)
            << dialogs.msgBoxes()[0].prompt;
    }
    b->HScroll1->setValue(count - 1);
    b->picPreview_DblClick();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].picture, Picture(48, 48, 0x0000FF));
    EXPECT_EQ(unloads, 1);
}

TEST_F(LibraryBrowser, ThumbnailsPreviewPlaceAndFrame) {
    put("default.tgl",
        {{"a_wide.bmp", bmp(49, 10)}, {"b_square.bmp", bmp(48, 48)}, {"c_small.gif", bmp(33, 20)}});
    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    const struct {
        int width, height;
        float left, top;
    } shown[] = {{48, 48, 31, 10}, {48, 48, 31, 10}, {33, 20, 38.5f, 24}};
    for (int i = 0; i < 3; ++i) {
        b->HScroll1->setValue(i);
        const auto& s = shown[i];
        EXPECT_EQ(b->picPreview->box().pictureOrImage().width(), s.width) << i;
        EXPECT_EQ(b->picPreview->box().pictureOrImage().height(), s.height) << i;
        EXPECT_EQ(b->picPreview->size(), QSize(s.width, s.height)) << i;
        EXPECT_FLOAT_EQ(b->previewLeft, s.left) << i;
        EXPECT_FLOAT_EQ(b->previewTop, s.top) << i;
    }
    // The frame of the last one: L 38.5, T 24, W 33, H 20.
    const auto line = [](const LineShape& l) { return std::vector<int>{l.x1, l.x2, l.y1, l.y2}; };
    EXPECT_EQ(line(b->Line1), (std::vector<int>{38, 72, 23, 23}));
    EXPECT_EQ(line(b->Line2), (std::vector<int>{38, 72, 45, 45}));
    EXPECT_EQ(line(b->Line3), (std::vector<int>{38, 38, 23, 45}));
    EXPECT_EQ(line(b->Line4), (std::vector<int>{72, 72, 23, 45}));
    EXPECT_EQ(b->Line1.borderColor, 0xFF0000);
    EXPECT_EQ(b->Image2->x(), 47);
    EXPECT_EQ(GFXArrowLeft, 50);
}

TEST_F(LibraryBrowser, ArrowsAndKeysStepThroughThePictures) {
    put("default.tgl",
        {{"a.bmp", bmp(8, 8)}, {"b.jpg.gif", bmp(8, 8)}, {"my photo.JPG", bmp(8, 8)}});
    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    const struct {
        const char* what;
        std::function<void(frmGFXLib&)> act;
        int value;
    } moves[] = {
        {"left on the first", [](frmGFXLib& w) { w.Image2_MouseUp(1, 0, 5, 5); }, 0},
        {"Left key on the first", [](frmGFXLib& w) { w.picPreview_KeyUp(37, 0); }, 0},
        {"right button", [](frmGFXLib& w) { w.Image3_MouseUp(2, 0, 5, 5); }, 0},
        {"on the left edge", [](frmGFXLib& w) { w.Image3_MouseUp(1, 0, 0, 5); }, 0},
        {"on the top edge", [](frmGFXLib& w) { w.Image3_MouseUp(1, 0, 5, 0); }, 0},
        {"dragged off", [](frmGFXLib& w) { w.Image3_MouseUp(1, 0, 35, 5); }, 0},
        {"right", [](frmGFXLib& w) { w.Image3_MouseUp(1, 0, 34, 57); }, 1},
        {"Right key", [](frmGFXLib& w) { w.picPreview_KeyUp(39, 0); }, 2},
        {"right on the last", [](frmGFXLib& w) { w.Image3_MouseUp(1, 0, 1, 1); }, 2},
        {"another key", [](frmGFXLib& w) { w.picPreview_KeyUp(38, 0); }, 2},
        {"left", [](frmGFXLib& w) { w.Image2_MouseUp(1, 0, 1, 1); }, 1},
    };
    for (const auto& s : moves) {
        s.act(*b);
        EXPECT_EQ(b->HScroll1->value(), s.value) << s.what;
    }
    EXPECT_EQ(text(b->Label1), "Image 2 of 3");
    EXPECT_EQ(text(b->Label3), "B.jpg");
    b->HScroll1->setValue(2);
    EXPECT_EQ(text(b->Label3), "My Photo");
    EXPECT_TRUE(taken.empty());
}

TEST_F(LibraryBrowser, KeysAndClicksOnTheControlsReachTheirHandlers) {
    put("default.tgl", {{"a.bmp", bmp(8, 8)}, {"b.bmp", bmp(8, 8)}});
    auto b = open();
    ASSERT_TRUE(b->isLoaded());
    // Holding the key: the releases before its repeats step nothing, the last release steps once.
    QKeyEvent repeated(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(b->picPreview, &repeated);
    EXPECT_EQ(b->HScroll1->value(), 0);
    QKeyEvent right(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QCoreApplication::sendEvent(b->picPreview, &right);
    EXPECT_EQ(b->HScroll1->value(), 1);
    emit b->Image2->mouseReleased(1, 0, 3, 3);
    EXPECT_EQ(b->HScroll1->value(), 0);
    QKeyEvent other(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
    QCoreApplication::sendEvent(b->picPreview, &other);
    EXPECT_TRUE(taken.empty());
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(b->picPreview, &enter);
    EXPECT_TRUE(enter.isAccepted());
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].title, "A From Default Graphics Library");
    EXPECT_EQ(unloads, 1);
}

TEST_F(LibraryBrowser, EnterSpaceOrADoubleClickTakesTheShownPicture) {
    put("default.tgl", {{"big.bmp", bmp(100, 60, 0x0000FF)}, {"sky_blue.bmp", bmp(8, 4)}});
    const struct {
        const char* what;
        std::function<void(frmGFXLib&)> take;
    } ways[] = {
        {"double click", [](frmGFXLib& w) { w.picPreview_DblClick(); }},
        {"Enter",
         [](frmGFXLib& w) {
             int key = 13;
             w.picPreview_KeyPress(key);
             EXPECT_EQ(key, 0);
         }},
        {"Space",
         [](frmGFXLib& w) {
             int key = 32;
             w.picPreview_KeyPress(key);
             EXPECT_EQ(key, 0);
         }},
    };
    for (const auto& way : ways) {
        taken.clear();
        unloads = 0;
        auto b = open();
        ASSERT_TRUE(b->isLoaded());
        int other = 'a';
        b->picPreview_KeyPress(other);
        EXPECT_EQ(other, 'a') << way.what;
        EXPECT_TRUE(taken.empty()) << way.what;

        way.take(*b);
        ASSERT_EQ(taken.size(), 1u) << way.what;
        EXPECT_EQ(taken[0].picture.width(), 48) << way.what;
        EXPECT_EQ(taken[0].picture.height(), 48) << way.what;
        EXPECT_EQ(taken[0].title, "Big From Default Graphics Library") << way.what;
        EXPECT_EQ(unloads, 1) << way.what;
        expectCleanedUp(way.what);
    }
    auto b = open();
    b->Image3_MouseUp(1, 0, 1, 1);
    b->picPreview_DblClick();
    ASSERT_EQ(taken.size(), 2u);
    EXPECT_EQ(taken[1].title, "Sky_blue From Default Graphics Library");
    EXPECT_EQ(taken[1].picture, Picture(8, 4, 0x336699));
}

TEST_F(LibraryBrowser, EveryWayOutUnloadsOnce) {
    put("default.tgl", {{"a.bmp", bmp(8, 8)}});
    const struct {
        const char* what;
        std::function<void(frmGFXLib&)> close;
    } ways[] = {
        {"Cancel", [](frmGFXLib& w) { w.Command2->click(); }},
        {"close box", [](frmGFXLib& w) { w.close(); }},
        {"unload twice",
         [](frmGFXLib& w) {
             w.Form_Unload();
             w.Form_Unload();
             w.close();
         }},
    };
    for (const auto& way : ways) {
        unloads = 0;
        auto b = open();
        b->show();
        way.close(*b);
        EXPECT_EQ(unloads, 1) << way.what;
        EXPECT_FALSE(b->isVisible()) << way.what;
        expectCleanedUp(way.what);
    }
}

TEST_F(LibraryBrowser, TheTimerKeepsTheShownBrowserInFront) {
    put("default.tgl", {{"a.bmp", bmp(8, 8)}});
    auto b = open();
    b->Timer1_Timer();  // hidden: nothing to do
    b->show();
    b->Timer1_Timer();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->Timer1->interval(), 100);
    EXPECT_FALSE(b->Timer1->isActive());
}

TEST_F(LibraryBrowser, ControlsLieInsideTheWindow) {
    put("default.tgl", {{"a.bmp", bmp(8, 8)}});
    auto b = open();
    b->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(b->windowTitle(), "Graphics Library");
    EXPECT_EQ(b->size(), QSize(308, 210));
    EXPECT_EQ(b->windowModality(), Qt::ApplicationModal);
    // The banner is two pixels wider than the window, as designed.
    EXPECT_EQ(
        qt::testing::layoutFaults(
            *b, [&](const QWidget* w) { return w != b->Image1 && qt::testing::isNamedControl(w); }),
        "");
}

}  // namespace
}  // namespace tess
