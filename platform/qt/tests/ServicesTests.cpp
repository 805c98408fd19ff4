#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>

#include "platform/Bmp.h"
#include "platform/SystemColours.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtEventPump.h"
#include "platform/qt/QtShell.h"
#include "platform/qt/QtText.h"
#include "platform/testing/GifFixture.h"

namespace tess::qt {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// ---- Event pump -------------------------------------------------------------------------------

// Posts a call that only a turn of the event loop delivers.
void postMarker(int& delivered) {
    QMetaObject::invokeMethod(
        qApp, [&delivered] { ++delivered; }, Qt::QueuedConnection);
}

TEST(QtEventPump, YieldProcessesEventsOnlyOnceTheIntervalHasPassed) {
    std::chrono::nanoseconds now = 0ms;
    QtEventPump pump(
        10ms, [&] { return now; }, 1);

    struct Step {
        std::chrono::milliseconds at;
        bool doEvents;  // else yield
        bool processes;
    };
    // The clock starts at construction (0 ms); doEvents always runs and restarts the interval.
    const Step steps[] = {
        {5ms, false, false}, {10ms, false, true},  {19ms, false, false}, {20ms, false, true},
        {21ms, true, true},  {30ms, false, false}, {31ms, false, true},
    };
    for (const Step& s : steps) {
        int delivered = 0;
        postMarker(delivered);
        now = s.at;
        if (s.doEvents) {
            pump.doEvents();
        } else {
            pump.yield();
        }
        EXPECT_EQ(delivered == 1, s.processes) << "at " << s.at.count() << " ms";
        QCoreApplication::removePostedEvents(qApp);  // the marker must not outlive `delivered`
    }
    EXPECT_EQ(pump.turns(), 4);
}

TEST(QtEventPump, YieldReadsTheClockOnlyEveryFewCalls) {
    int reads = 0;
    std::chrono::nanoseconds now = 0ms;
    QtEventPump pump(
        10ms,
        [&] {
            ++reads;
            return now;
        },
        4);
    reads = 0;
    now = 50ms;
    for (int i = 0; i < 3; ++i)
        pump.yield();
    EXPECT_EQ(reads, 0);
    EXPECT_EQ(pump.turns(), 0);
    pump.yield();  // the fourth call looks at the clock and finds the interval passed
    EXPECT_EQ(pump.turns(), 1);
    for (int i = 0; i < 8; ++i)
        pump.yield();
    EXPECT_EQ(pump.turns(), 1);  // no time passed since that turn
}

// ---- Shell ------------------------------------------------------------------------------------

class QtShellDelete : public ::testing::Test {
  protected:
    fs::path file(const std::string& name, const std::string& content = "x") {
        const fs::path p = fs::path(dir.path().toStdString()) / name;
        std::ofstream(p) << content;
        return p;
    }
    QTemporaryDir dir;
    QtShell shell;
};

TEST_F(QtShellDelete, RemovesOneFileForGood) {
    const fs::path page = file("Image1.html");
    ASSERT_TRUE(shell.deleteFile(page.string(), false));
    EXPECT_FALSE(fs::exists(page));
}

TEST_F(QtShellDelete, ReadsThePathLiterallyNeverAsAPattern) {
    const fs::path starred = file("a*b?.html");
    const fs::path lookalike = file("axbc.html");
    ASSERT_TRUE(shell.deleteFile(starred.string(), false));
    EXPECT_FALSE(fs::exists(starred));
    EXPECT_TRUE(fs::exists(lookalike));
    // The pattern text names no file once the starred one is gone.
    EXPECT_EQ(shell.deleteFile(starred.string(), false).error().code, errc::FileNotFound);
    EXPECT_TRUE(fs::exists(lookalike));
}

TEST_F(QtShellDelete, RefusesMissingFilesAndFolders) {
    const fs::path missing = fs::path(dir.path().toStdString()) / "gone.html";
    const Status notThere = shell.deleteFile(missing.string(), false);
    ASSERT_FALSE(notThere);
    EXPECT_EQ(notThere.error().code, errc::FileNotFound);
    EXPECT_NE(notThere.error().reason.find("gone.html"), std::string::npos);

    const fs::path folder = fs::path(dir.path().toStdString()) / "sub";
    fs::create_directory(folder);
    for (bool toTrash : {false, true}) {
        EXPECT_FALSE(shell.deleteFile(folder.string(), toTrash));
        EXPECT_TRUE(fs::is_directory(folder));
    }
}

TEST_F(QtShellDelete, DeletesALinkButNotWhatItPointsAt) {
    const fs::path target = file("target.html");
    const fs::path link = fs::path(dir.path().toStdString()) / "link.html";
    fs::create_symlink(target, link);
    ASSERT_TRUE(shell.deleteFile(link.string(), false));
    EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
    EXPECT_TRUE(fs::exists(target));
}

// The trash lives under the data folder; point it (and home) into the temporary folder. A new
// account has no data folder yet: the page must still reach the trash. Where no trash can be made
// the page stays where it was, never in a "files" folder below the working folder.
TEST_F(QtShellDelete, MovesAFileToTheTrash) {
    enum class Data { Made, NotYet, BlockedByAFile };
    struct Case {
        const char* name;
        Data data;
    };
    for (const Case& c :
         {Case{"data folder there", Data::Made}, Case{"no data folder yet", Data::NotYet},
          Case{"a file where the data folder goes", Data::BlockedByAFile}}) {
        SCOPED_TRACE(c.name);
        QTemporaryDir home;
        const QString data = home.path() + "/share";
        if (c.data == Data::Made)
            QDir(home.path()).mkdir("share");
        if (c.data == Data::BlockedByAFile)
            std::ofstream(data.toStdString()) << "not a folder";
        const QString oldWorking = QDir::currentPath();
        QDir::setCurrent(home.path());
        const QByteArray oldHome = qgetenv("HOME");
        const QByteArray oldData = qgetenv("XDG_DATA_HOME");
        qputenv("HOME", home.path().toUtf8());
        qputenv("XDG_DATA_HOME", data.toUtf8());

        const fs::path page = file("Image2.html", "page");
        const Status moved = shell.deleteFile(page.string(), true);

        qputenv("HOME", oldHome);
        if (oldData.isNull()) {
            qunsetenv("XDG_DATA_HOME");
        } else {
            qputenv("XDG_DATA_HOME", oldData);
        }
        QDir::setCurrent(oldWorking);
        EXPECT_FALSE(fs::exists(fs::path(home.path().toStdString()) / "files"));
        EXPECT_FALSE(fs::exists(fs::path(home.path().toStdString()) / "info"));
        if (c.data == Data::BlockedByAFile) {
            ASSERT_FALSE(moved);
            EXPECT_NE(moved.error().reason.find("Image2.html"), std::string::npos);
            EXPECT_TRUE(fs::exists(page));
            continue;
        }
        ASSERT_TRUE(moved) << moved.error().reason;
        EXPECT_FALSE(fs::exists(page));
        EXPECT_TRUE(fs::exists(fs::path(data.toStdString()) / "Trash/files/Image2.html"));
    }
}

TEST(QtShell, TellsAddressesFromLocalPaths) {
    struct Case {
        const char* target;
        QUrl expected;
    };
    const Case cases[] = {
        {"https://example.org/help?x=1", QUrl("https://example.org/help?x=1")},
        {"mailto:someone@example.org", QUrl("mailto:someone@example.org")},
        {"/tmp/Mosaics/Image1.html", QUrl::fromLocalFile("/tmp/Mosaics/Image1.html")},
        {"/tmp/a #b?.html", QUrl::fromLocalFile("/tmp/a #b?.html")},
        {"C:page.html", QUrl::fromLocalFile(QDir::current().filePath("C:page.html"))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QtShell::urlFor(c.target), c.expected) << c.target;

    // A file's path is a file's, whatever it reads like.
    for (const char* path :
         {"mailto:x.html", "https:x.html", "Mosaics/a #b?.html", "C:page.html"}) {
        EXPECT_EQ(QtShell::fileUrlFor(path), QUrl::fromLocalFile(QDir::current().filePath(path)))
            << path;
    }
    EXPECT_EQ(QtShell::fileUrlFor("/tmp/mailto:x.html"), QUrl::fromLocalFile("/tmp/mailto:x.html"));
    const Status missing = QtShell().openFile("mailto:no-such-page.html");
    ASSERT_FALSE(missing);
    EXPECT_EQ(missing.error().code, errc::FileNotFound);
}

TEST(QtShell, ReportsAProgramThatCannotStart) {
    QTemporaryDir dir;
    const std::string program = (dir.path() + "/Wenderlock").toStdString();
    const Status started = QtShell().start(program, "/tmp/Mosaics/");
    ASSERT_FALSE(started);
    EXPECT_NE(started.error().reason.find("Wenderlock"), std::string::npos);
}

TEST(QtText, EveryByteOfUtf8TextComesThroughAsItsCharacterOrAReplacement) {
    struct Case {
        std::string utf8;
        std::u16string text;
    };
    for (const Case& c : {
             Case{"caf\xC3\xA9", u"caf\u00E9"},
             Case{"\xEF\xBB\xBFx", u"\uFEFFx"},  // a leading U+FEFF is text, not a mark
             Case{"caf\xE9", u"caf\uFFFD"},      // cut short at the end
             Case{"caf\xE9\t", u"caf\uFFFD\t"},
             Case{"", u""},
         }) {
        const QString text(reinterpret_cast<const QChar*>(c.text.data()),
                           static_cast<qsizetype>(c.text.size()));
        EXPECT_EQ(toQ(c.utf8), text) << c.utf8;
    }
}

// ---- Clipboard --------------------------------------------------------------------------------

TEST(QtClipboard, RoundTripsTextAndPictures) {
    QtClipboard clipboard;
    clipboard.setText("caf\xC3\xA9 \xE2\x9C\x93\r\nline");
    EXPECT_EQ(clipboard.text(), "caf\xC3\xA9 \xE2\x9C\x93\r\nline");
    EXPECT_FALSE(clipboard.hasPicture());

    Picture picture(3, 2, 0x000000);
    picture.setPixel(0, 0, 0x0000FF);
    picture.setPixel(1, 0, 0x00FF00);
    picture.setPixel(2, 1, 0x123456);
    clipboard.setPicture(picture);
    EXPECT_TRUE(clipboard.hasPicture());
    const std::optional<Picture> back = clipboard.picture();
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, picture);

    clipboard.clear();
    EXPECT_FALSE(clipboard.hasPicture());
    EXPECT_FALSE(clipboard.picture());
    EXPECT_EQ(clipboard.text(), "");
    EXPECT_FALSE(clipboard.hasText());
}

TEST(QtClipboard, SharedTextReadsAsTheSameTextEveryWayItIsAskedFor) {
    QtClipboard clipboard;
    for (const std::string& text : {std::string("<html>page\r\n</html>"),
                                    std::string("\xEF\xBB\xBF"
                                                "caf\xC3\xA9 \xE2\x9C\x93"),
                                    std::string()}) {
        auto shared = std::make_shared<const std::string>(text);
        clipboard.offerText(shared);
        EXPECT_TRUE(clipboard.hasText());
        EXPECT_FALSE(clipboard.hasPicture());
        EXPECT_EQ(clipboard.text(), text);
        const QMimeData* data = QGuiApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(data->formats(), QStringList{"text/plain"});
        EXPECT_EQ(data->data("text/plain").toStdString(), text);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), toQ(text));
        EXPECT_TRUE(data->data("text/html").isEmpty());
        // The clipboard holds the text itself until something else replaces it.
        EXPECT_EQ(shared.use_count(), 2);
        clipboard.setText("other");
        EXPECT_EQ(shared.use_count(), 1);
        EXPECT_EQ(clipboard.text(), "other");
    }
    clipboard.setPicture(Picture(1, 1));
    EXPECT_FALSE(clipboard.hasText());
}

TEST(QtClipboard, PictureFilesOfferedByOtherProgramsAreCheckedBeforeDecoding) {
    const auto offer = [](const char* type, const std::string& bytes) {
        auto* data = new QMimeData;
        data->setData(type, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
        QGuiApplication::clipboard()->setMimeData(data);
    };
    QtClipboard clipboard;

    offer("image/gif", testing::gifFixture(2, 1, {0, 2}));
    const std::optional<Picture> gif = clipboard.picture();
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->pixel(0, 0), 0x0000FF);
    EXPECT_EQ(gif->pixel(1, 0), 0xFF0000);

    std::string huge = encodeBmp24(Picture(2, 1));
    huge[18] = huge[22] = '\x30';  // 30000 x 30000 in the header, the pixels of two
    huge[19] = huge[23] = '\x75';
    const std::string cut = encodeBmp24(Picture(5, 4)).substr(0, 70);
    for (const auto& [type, bytes] : {std::pair{"image/bmp", huge}, std::pair{"image/bmp", cut}}) {
        SCOPED_TRACE(type);
        offer(type, bytes);
        EXPECT_FALSE(clipboard.picture());
    }
    clipboard.clear();
}

// ---- Dialogs ----------------------------------------------------------------------------------

TEST(QtDialogs, ConvertsFiltersToQtFormKeepingTheShownText) {
    struct Case {
        const char* filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"Images (*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico)|*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico",
         {"Images (*.bmp;*.gif;*.jpg;*.jpeg;*.dib;*.ico) (*.bmp *.gif *.jpg *.jpeg *.dib *.ico)"}},
        {"HTML Document (*.html;*.htm)|*.htm;*.html|All Files (*.*)|*.*",
         {"HTML Document (*.html;*.htm) (*.htm *.html)", "All Files (*.*) (*)"}},
        {"Text Documents (*.txt)|*.txt|Stripped Rich Text Format (*.rtf)|*.rtf",
         {"Text Documents (*.txt) (*.txt)", "Stripped Rich Text Format (*.rtf) (*.rtf)"}},
        {" Spaced | *.a ; ;*.b ", {"Spaced (*.a *.b)"}},
        {"No patterns|", {"No patterns (*)"}},
        {"Dangling description", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(QtDialogs::toQtFilters(c.filter), c.expected) << c.filter;
    }
}

TEST(QtDialogs, StartsAtTheProposedNameInsideTheInitialFolder) {
    struct Case {
        const char* fileName;
        const char* initialDir;
        QString expected;
    };
    const Case cases[] = {
        {"/home/u/pics/a.bmp", "/elsewhere", "/home/u/pics/a.bmp"},
        {"Image3.html", "/tmp/Mosaics", "/tmp/Mosaics/Image3.html"},
        {"Image3.html", "", "Image3.html"},
        {"", "/tmp/Mosaics", "/tmp/Mosaics"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        FileDialogRequest request;
        request.fileName = c.fileName;
        request.initialDir = c.initialDir;
        EXPECT_EQ(QtDialogs::startPath(request), c.expected)
            << c.fileName << " in " << c.initialDir;
    }
}

// Runs `act` on the modal dialog of type D as soon as the event loop shows it.
template <class D>
void whenShown(std::function<void(D*)> act) {
    QTimer::singleShot(0, qApp, [act] {
        auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(dialog);
    });
}

TEST(QtDialogs, MessageBoxShowsTheStylesButtonsAndGivesTheirAnswers) {
    using B = QMessageBox;
    struct Case {
        int style;
        B::StandardButtons buttons;
        B::Icon icon;
        B::StandardButton defaultButton;
        B::StandardButton press;  // NoButton: press Escape
        int answer;
    };
    const Case cases[] = {
        {0, B::Ok, B::NoIcon, B::Ok, B::Ok, mb::OK},
        {48, B::Ok, B::Warning, B::Ok, B::NoButton, mb::OK},
        {36, B::Yes | B::No, B::Question, B::Yes, B::No, mb::No},
        {36, B::Yes | B::No, B::Question, B::Yes, B::NoButton, mb::No},
        {4 + 256, B::Yes | B::No, B::NoIcon, B::No, B::Yes, mb::Yes},
        {3 + 16 + 512, B::Yes | B::No | B::Cancel, B::Critical, B::Cancel, B::NoButton, mb::Cancel},
        {2 + 64, B::Abort | B::Retry | B::Ignore, B::Information, B::Abort, B::Ignore, mb::Ignore},
        {1, B::Ok | B::Cancel, B::NoIcon, B::Ok, B::NoButton, mb::Cancel},
        {5 + 256, B::Retry | B::Cancel, B::NoIcon, B::Cancel, B::Retry, mb::Retry},
    };
    QtDialogs dialogs;
    for (const Case& c : cases) {
        SCOPED_TRACE("style " + std::to_string(c.style));
        whenShown<QMessageBox>([c](QMessageBox* box) {
            EXPECT_EQ(box->standardButtons(), c.buttons);
            EXPECT_EQ(box->icon(), c.icon);
            EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton));
            EXPECT_EQ(box->textFormat(), Qt::PlainText);
            EXPECT_EQ(box->text(), "Error loading image\n\"/tmp/<b>x</b>.bmp\"\n\nend");
            EXPECT_EQ(box->windowTitle(), "Error Loading Image");
            if (c.press == B::NoButton) {
                QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
                QCoreApplication::sendEvent(box, &escape);
            } else {
                box->button(c.press)->click();
            }
        });
        EXPECT_EQ(dialogs.msgBox("Error loading image\r\n\"/tmp/<b>x</b>.bmp\"\r\n\r\nend", c.style,
                                 "Error Loading Image"),
                  c.answer);
    }
}

TEST(QtDialogs, ColourDialogStartsAtTheInitialColourOnlyWithItsFlag) {
    SystemColours::set(15, 0x332211);
    struct Case {
        Colour initial;
        int flags;
        QColor shown;
    };
    const Case cases[] = {
        {0x0000FF, 1, QColor(255, 0, 0)},
        {0x123456, 1, QColor(0x56, 0x34, 0x12)},
        {syscolour::ButtonFace, 1, QColor(0x11, 0x22, 0x33)},
        {0x123456, 0, QColor(0, 0, 0)},
    };
    QtDialogs dialogs;
    for (const Case& c : cases) {
        whenShown<QColorDialog>([c](QColorDialog* dialog) {
            EXPECT_EQ(dialog->currentColor(), c.shown);
            dialog->setCurrentColor(QColor(0x10, 0x20, 0x30));
            dialog->accept();
        });
        EXPECT_EQ(dialogs.chooseColour(c.initial, c.flags), std::optional<Colour>(0x302010));
    }
    whenShown<QColorDialog>([](QColorDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(dialogs.chooseColour(0, 1), std::nullopt);
    SystemColours::resetToDefaults();
}

TEST(QtDialogs, FileDialogsSelectTheFilterAndReportTheChosenOne) {
    QTemporaryDir dir;
    const QString existing = dir.filePath("Image1.html");
    QFile(existing).open(QIODevice::WriteOnly);

    FileDialogRequest request;
    request.filter = "HTML Document (*.html;*.htm)|*.htm;*.html|All Files (*.*)|*.*";
    request.filterIndex = 2;
    request.initialDir = dir.path().toStdString();
    request.flags = 133126;  // asks before overwriting

    QtDialogs dialogs;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->selectedNameFilter(), "All Files (*.*)");  // shown without the Qt part
        EXPECT_TRUE(dialog->testOption(QFileDialog::HideNameFilterDetails));
        EXPECT_FALSE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        dialog->selectNameFilter("HTML Document (*.html;*.htm) (*.htm *.html)");
        dialog->selectFile(dir.filePath("New.html"));
        static_cast<QDialog*>(dialog)->accept();
    });
    const auto saved = dialogs.saveFile(request);
    ASSERT_TRUE(saved);
    EXPECT_EQ(toQ(saved->fileName), dir.filePath("New.html"));
    EXPECT_EQ(saved->filterIndex, 1);

    request.flags = 0;
    whenShown<QFileDialog>([](QFileDialog* dialog) {
        EXPECT_TRUE(dialog->testOption(QFileDialog::DontConfirmOverwrite));
        dialog->reject();
    });
    EXPECT_FALSE(dialogs.saveFile(request));

    request.fileName = "Image1.html";
    request.filterIndex = 1;
    whenShown<QFileDialog>([&](QFileDialog* dialog) {
        EXPECT_EQ(dialog->selectedNameFilter(), "HTML Document (*.html;*.htm)");
        dialog->selectNameFilter("All Files (*.*) (*)");
        static_cast<QDialog*>(dialog)->accept();  // the proposed name is selected
    });
    const auto opened = dialogs.openFile(request);
    ASSERT_TRUE(opened);
    EXPECT_EQ(toQ(opened->fileName), existing);
    EXPECT_EQ(opened->filterIndex, 2);
}

TEST(QtDialogs, EveryDialogIsCentredOnTheWindowThatAsks) {
    enum class Owner { Active, Disabled, NotShownYet };
    const std::vector<std::pair<const char*, Owner>> owners = {
        {"active", Owner::Active},
        {"disabled", Owner::Disabled},
        {"not shown yet", Owner::NotShownYet}};
    QTemporaryDir dir;
    const std::vector<std::pair<const char*, std::function<void(QtDialogs&)>>> asks = {
        {"message box",
         [](QtDialogs& d) { d.msgBox("Error loading image", mb::Critical, "Error"); }},
        {"open dialog",
         [&](QtDialogs& d) {
             d.openFile({"Open", "All Files (*.*)|*.*", 1, "", dir.path().toStdString()});
         }},
        {"save dialog",
         [&](QtDialogs& d) {
             d.saveFile({"Save", "All Files (*.*)|*.*", 1, "", dir.path().toStdString()});
         }},
        {"colour dialog", [](QtDialogs& d) { d.chooseColour(0, 0); }},
        {"folder dialog",
         [&](QtDialogs& d) { d.chooseFolder("Folder", dir.path().toStdString()); }},
    };
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    for (const auto& [ownerName, owner] : owners) {
        for (const auto& [askName, ask] : asks) {
            SCOPED_TRACE(std::string(askName) + " of a window " + ownerName);
            // Away from the screen's centre, with room around it for the largest dialog.
            QMainWindow window;
            window.setGeometry(screen.center().x() - 70, screen.center().y() - 20, 260, 180);
            if (owner != Owner::NotShownYet) {
                window.show();
                window.activateWindow();
                QApplication::processEvents();
                ASSERT_EQ(QApplication::activeWindow(), &window);
            }
            window.setEnabled(owner != Owner::Disabled);
            QPoint centre;
            QTimer::singleShot(0, qApp, [&] {
                QWidget* dialog = QApplication::activeModalWidget();
                ASSERT_NE(dialog, nullptr);
                EXPECT_TRUE(dialog->isEnabled());
                centre = dialog->frameGeometry().center();
                dialog->close();
            });
            QtDialogs dialogs;
            ask(dialogs);
            const QPoint expected = window.frameGeometry().center();
            ASSERT_GT((expected - screen.center()).manhattanLength(), 60);
            EXPECT_LE((centre - expected).manhattanLength(), 4)
                << centre.x() << "," << centre.y() << " for " << expected.x() << ","
                << expected.y();
        }
    }
}

}  // namespace
}  // namespace tess::qt
