#include <QAction>
#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "ShellFixture.h"
#include "effects/EffectPreview.h"
#include "effects/EffectRun.h"
#include "effects/EffectTable.h"
#include "effects/Thumbnail.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/QtText.h"
#include "platform/testing/Pictures.h"
#include "projects/qt/ProgressWindow.h"
#include "shell/frmFX.h"

namespace tess {
namespace {

constexpr Colour kFace = 0xC0C0C0;  // the dialog's scratch colour as the colour table resolves it

using testing::gradient;

// The main window after its load, with a small picture of its own as the working picture.
class EffectsDialog : public MainWindowFixture {
  protected:
    EffectsDialog() { setWorking(gradient(12, 7)); }

    // "Image Effects..." as the user chooses it; the dialog it opened.
    frmFX& open() {
        w->mnuImgEfx->trigger();
        frmFX* dialog = w->loadedEffectsDialog();
        if (!dialog)
            throw std::runtime_error("no effects dialog");
        return *dialog;
    }
    static int indexOf(const char* listText) {
        for (int k = 0; k < fx::kEffectCount; ++k) {
            if (fx::effectTable()[static_cast<std::size_t>(k)].listText == listText)
                return k;
        }
        throw std::invalid_argument(listText);
    }
    static void select(frmFX& dialog, const char* listText) {
        dialog.List1->setCurrentRow(indexOf(listText));
    }
    static Picture preview(const frmFX& dialog) { return dialog.srcPic->box().pictureOrImage(); }
    // What the main window's handler gives for the effect on the picture.
    static Picture applied(const char* listText, const Picture& picture) {
        testing::FixedClock fixedClock;
        testing::ScriptedRandom noRandom;
        const fx::EffectEntry& entry =
            fx::effectTable()[static_cast<std::size_t>(indexOf(listText))];
        Result<Picture> result = fx::applyEffect(entry.style, entry.apply, picture,
                                                 fx::kMainScratchBack, noRandom, fixedClock);
        return result.ok() ? *result : Picture();
    }
    // Every turn of the event loop lets 100 ms pass.
    void letTimePassWhileWaiting() {
        pump.setOnDoEvents([this] { clock.advance(100); });
    }
};

TEST_F(EffectsDialog, OpensWithTheThumbnailTheListAndOKDisabled) {
    const Picture before = shown();
    frmFX& dialog = open();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.windowTitle(), "Effect Selection");
    EXPECT_EQ(dialog.parentWidget(), w.get());
    EXPECT_EQ(dialog.size(), QSize(524, 292));
    EXPECT_EQ(dialog.List1->font(), qt::designFont());
    ASSERT_EQ(dialog.List1->count(), 38);
    for (int k = 0; k < 38; ++k)
        EXPECT_EQ(qt::fromQ(dialog.List1->item(k)->text()),
                  fx::effectTable()[static_cast<std::size_t>(k)].listText);
    EXPECT_EQ(dialog.List1->item(26)->text(), "Pool Tile");
    EXPECT_EQ(dialog.List1->item(34)->text(), "TV Snow");
    EXPECT_EQ(dialog.List1->item(35)->text(), "TV Snow (Color)");
    EXPECT_TRUE(dialog.List1->selectedItems().isEmpty());
    EXPECT_FALSE(dialog.Command1->isEnabled());
    EXPECT_EQ(dialog.Command1->text(), "OK");
    EXPECT_TRUE(dialog.Command2->isEnabled());
    EXPECT_EQ(dialog.Command2->text(), "Cancel");
    EXPECT_EQ(dialog.Frame2->title(), "Effects");
    EXPECT_EQ(dialog.Frame1->title(), "Effect Preview");
    EXPECT_EQ(dialog.Image1->box().pictureOrImage().width(), 524);
    EXPECT_EQ(dialog.Image1->box().pictureOrImage().height(), 59);

    // The thumbnail is the preview and its clean copy; the working picture is not touched.
    const Picture thumbnail = fx::makeThumbnail(before, fx::kPreviewScratchBack);
    EXPECT_EQ(preview(dialog), thumbnail);
    EXPECT_EQ(dialog.picNoFX->box().pictureOrImage(), thumbnail);
    EXPECT_FALSE(dialog.picNoFX->isVisible());
    EXPECT_FALSE(dialog.flipPic->isVisible());
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(state.ImageChanged);
    EXPECT_FALSE(undoSaved());
    EXPECT_FALSE(w->mnuLastFX->isVisible());
    // The effects are reached through the dialog; their submenu stays hidden.
    EXPECT_FALSE(w->mnuEffects->menuAction()->isVisible());
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(EffectsDialog, EachSelectionPreviewsFromTheCleanThumbnail) {
    frmFX& dialog = open();
    const Picture clean = preview(dialog);
    const auto previewOf = [&](const char* listText) {
        testing::FixedClock fixedClock;
        testing::ScriptedRandom noRandom;
        return *fx::previewEffect(indexOf(listText), clean, noRandom, fixedClock);
    };
    select(dialog, "Brighten");
    EXPECT_TRUE(dialog.Command1->isEnabled());
    EXPECT_EQ(preview(dialog), previewOf("Brighten"));
    // Darken starts again from the clean copy, not from the brightened preview.
    select(dialog, "Darken");
    EXPECT_EQ(preview(dialog), previewOf("Darken"));
    EXPECT_NE(previewOf("Darken"), clean);
    select(dialog, "Brighten");
    EXPECT_EQ(preview(dialog), previewOf("Brighten"));
    EXPECT_TRUE(dialog.Command1->isEnabled());
    EXPECT_EQ(dialog.picNoFX->box().pictureOrImage(), clean);
    EXPECT_EQ(dialog.cursor().shape(), Qt::ArrowCursor);
    // A preview has none of the effect's side effects.
    EXPECT_FALSE(state.ImageChanged);
    EXPECT_FALSE(undoSaved());
    EXPECT_FALSE(w->mnuLastFX->isVisible());
}

// The previews of the tone and pattern effects on a thumbnail made of hand-set pixels. A working
// picture of 121 x 101 gives its own top-left 120 x 100 pixels as the thumbnail, so the pixels set
// here are the pixels previewed.
TEST_F(EffectsDialog, PreviewsGiveTheHandWorkedPixels) {
    struct Pixel {
        int x;
        int y;
        Colour colour;
    };
    struct Case {
        const char* entry;
        Colour base;                  // every pixel not set below
        std::vector<Pixel> set;       // into the thumbnail
        std::vector<Pixel> expected;  // in the preview
    };
    const Colour a = rgb(200, 40, 90);
    const Colour b = rgb(20, 160, 230);
    const Case cases[] = {
        {"Brighten",
         0,
         {{1, 1, rgb(245, 245, 245)},
          {2, 1, rgb(250, 100, 100)},
          {3, 1, rgb(250, 250, 100)},
          {4, 1, rgb(100, 250, 250)},
          {5, 1, rgb(255, 0, 0)},
          {6, 1, rgb(250, 250, 250)}},
         {{1, 1, rgb(255, 255, 255)},
          {2, 1, rgb(250, 120, 110)},
          {3, 1, rgb(250, 250, 130)},
          {4, 1, rgb(110, 250, 250)},
          {5, 1, rgb(255, 20, 10)},
          {6, 1, rgb(250, 250, 250)}}},
        {"Darken",
         0,
         {{1, 1, rgb(5, 100, 100)},
          {2, 1, rgb(10, 10, 10)},
          {3, 1, rgb(9, 9, 9)},
          {4, 1, rgb(0, 0, 5)}},
         {{1, 1, rgb(5, 80, 90)},
          {2, 1, rgb(0, 0, 0)},
          {3, 1, rgb(9, 9, 9)},
          {4, 1, rgb(0, 0, 5)}}},
        {"Grayscale",
         0,
         {{1, 1, rgb(10, 200, 30)}, {2, 1, rgb(90, 90, 40)}, {3, 1, rgb(7, 7, 7)}},
         {{1, 1, rgb(200, 200, 200)}, {2, 1, rgb(90, 90, 90)}, {3, 1, rgb(7, 7, 7)}}},
        {"Black & White",
         0,
         {{1, 1, rgb(128, 128, 127)}, {2, 1, rgb(255, 128, 0)}, {3, 1, rgb(128, 128, 128)}},
         {{1, 1, 0}, {2, 1, 0}, {3, 1, rgb(255, 255, 255)}}},
        {"Decrease Contrast",
         0,
         {{1, 1, rgb(0, 127, 255)}, {2, 1, rgb(128, 128, 128)}},
         {{1, 1, rgb(10, 137, 245)}, {2, 1, rgb(118, 118, 118)}}},
        // Pass 1 gives (255, 50, 20), (255, 150, 120) and (255, 0, 0); against the button face
        // the exclusive-or gives (63, 242, 212), (63, 86, 184) and (63, 192, 192).
        {"Infrared",
         0,
         {{1, 1, rgb(100, 150, 120)}, {2, 1, rgb(200, 150, 120)}},
         {{1, 1, rgb(242, 242, 242)}, {2, 1, rgb(184, 184, 184)}, {3, 1, rgb(192, 192, 192)}}},
        // 2 x 2 blocks in the colour of their top-left pixel.
        {"Blur",
         b,
         {{4, 6, a}, {5, 6, b}},
         {{4, 6, a}, {5, 6, a}, {4, 7, a}, {5, 7, a}, {6, 6, b}, {3, 5, b}}},
        // The 4 x 4 outline at (5, 5), its 2 x 2 inside and the lane after it in the face colour.
        {"Boxes",
         b,
         {{5, 5, a}},
         {{5, 5, a},
          {8, 5, a},
          {5, 8, a},
          {8, 8, a},
          {6, 6, kFace},
          {7, 7, kFace},
          {9, 5, kFace},
          {5, 9, kFace},
          {10, 10, b}}},
        // The centre of a ring group is on no ring; the top of the largest ring lies over the
        // group drawn before it in the same column.
        {"Eyes", b, {{6, 6, a}}, {{6, 6, kFace}, {6, 1, a}, {6, 5, a}, {6, 3, a}}},
        {"CircleWorm", b, {{6, 6, a}}, {{6, 6, kFace}, {6, 2, a}, {6, 4, a}}},
        // (4, 4) lies on the ring of (8, 4), the last group drawn through it.
        {"Circular", b, {{8, 4, a}}, {{4, 4, a}, {4, 8, b}}},
        // White divided by 3.14 is 5343062: red 86, green 135, blue 81.
        {"Corruption", 0, {{1, 1, 0xFFFFFF}}, {{1, 1, rgb(86, 135, 81)}, {0, 0, 0}}},
        // 100 rows give n = -1: every pixel is a bar pixel, the k-th (column by column) + 10 k.
        {"Corruption Bars", 0, {}, {{0, 0, 10}, {0, 1, 20}, {1, 0, 1010}, {119, 99, 120000}}},
        // The last pixel meets its own copy exclusive-or the face: 127 and 191 give 159.
        {"Outer Emboss", rgb(127, 127, 127), {}, {{119, 99, rgb(159, 159, 159)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry);
        Picture working(121, 101, c.base);
        for (const Pixel& p : c.set)
            working.setPixel(p.x, p.y, p.colour);
        setWorking(working);
        frmFX& dialog = open();
        select(dialog, c.entry);
        const Picture result = preview(dialog);
        ASSERT_EQ(result.width(), 120);
        ASSERT_EQ(result.height(), 100);
        for (const Pixel& p : c.expected)
            EXPECT_EQ(result.pixel(p.x, p.y), p.colour) << "at " << p.x << ", " << p.y;
        dialog.Command2_Click();
    }
}

TEST_F(EffectsDialog, OKAppliesTheEntryBehindTheProgressWindowAndUnloads) {
    w->show();
    frmFX& dialog = open();
    select(dialog, "Pool Tile");
    const Picture before = shown();
    const std::uint32_t start = clock.tickCount();

    std::vector<std::string> lines;
    bool windowsLockedDuringWait = true;
    bool refusedDuringWait = true;
    QPointer<frmFX> watched(&dialog);
    pump.setOnDoEvents([&] {
        clock.advance(100);
        frmSLProj& form = w->progressWindow().form();
        lines = {qt::fromQ(form.Label1->text()), qt::fromQ(form.Label2->text()),
                 qt::fromQ(form.Label3->text())};
        windowsLockedDuringWait = windowsLockedDuringWait && !w->isEnabled() &&
                                  !dialog.isEnabled() && !dialog.isVisible() && form.isVisible() &&
                                  form.parentWidget() == &dialog;
        // A second OK, Cancel, the close box and Escape do nothing; no effect, repeat, mosaic
        // run or new thumbnail starts from the main window, and it does not close.
        dialog.Command1_Click();
        dialog.Command2_Click();
        dialog.close();
        dialog.reject();
        w->mnuDarken_Click();
        w->mnuFlipV_Click();
        w->mnuLastFX_Click();
        w->mnuImgEfx_Click();
        w->Command2_Click();
        EXPECT_FALSE(w->close());
        refusedDuringWait = refusedDuringWait && shown() == before && !dialog.isUnloaded() &&
                            w->Command2->text() == "Create Mosaic!" && programEnds == 0;
    });
    dialog.Command1->click();

    EXPECT_GE(clock.tickCount() - start, 500u);
    EXPECT_EQ(lines, (std::vector<std::string>{"Applying Effect", "Pool Tile", "Please Wait..."}));
    EXPECT_TRUE(windowsLockedDuringWait);
    EXPECT_TRUE(refusedDuringWait);
    // The main window's pool-tiles effect, named as the main window names it.
    EXPECT_EQ(shown(), applied("Pool Tile", before));
    EXPECT_EQ(caption(), "   Last Effect: Pool Tiles");
    EXPECT_TRUE(w->mnuLastFX->isVisible());
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_FALSE(state.ProgressLockFX);
    // Everything it locked is given back, and the dialog is gone.
    EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(w->progressWindow().isLoaded());
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(w->loadedEffectsDialog(), nullptr);
    EXPECT_FALSE(dialog.isVisible());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(watched.isNull());
    EXPECT_EQ(programEnds, 0);

    // Opening it again shows the changed picture, no selection and OK disabled.
    frmFX& again = open();
    EXPECT_EQ(preview(again), fx::makeThumbnail(shown(), fx::kPreviewScratchBack));
    EXPECT_TRUE(again.List1->selectedItems().isEmpty());
    EXPECT_FALSE(again.Command1->isEnabled());
    // One undo brings back the picture before OK.
    w->mnuUndo_Click();
    EXPECT_EQ(shown(), before);
}

TEST_F(EffectsDialog, OKDispatchesByTheListIndex) {
    const struct {
        const char* entry;
        const char* lastEffect;
    } cases[] = {
        {"TV Snow", "TV Snow"},
        {"TV Snow (Color)", "TV Snow (Color)"},
        {"SterioGraph", "StereoGraph"},
        {"Infrared", "Infrared (Slow)"},
        {"Black & White", "Black && White"},
        {"3D Tiles", "3D Tiles"},
        {"X-Files", "X-Files"},
    };
    letTimePassWhileWaiting();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        const Picture before = gradient(12, 7);
        setWorking(before);
        frmFX& dialog = open();
        select(dialog, c.entry);
        dialog.Command1_Click();
        EXPECT_EQ(caption(), "   Last Effect: " + std::string(c.lastEffect));
        EXPECT_EQ(shown(), applied(c.entry, before));
        EXPECT_EQ(w->loadedEffectsDialog(), nullptr);
    }
}

// An undo copy that cannot be written does not stop OK's effect, and OK gives back all it took.
TEST_F(EffectsDialog, OKAppliesTheEffectWhenTheUndoCopyCannotBeWritten) {
    blockUndoCopies();
    letTimePassWhileWaiting();
    const Picture before = shown();
    frmFX& dialog = open();
    select(dialog, "Mosaic");
    dialog.Command1_Click();
    EXPECT_EQ(shown(), applied("Mosaic", before));
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_EQ(caption(), "   Last Effect: Mosaic");
    EXPECT_FALSE(undoOffered());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(w->progressWindow().isLoaded());
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(w->loadedEffectsDialog(), nullptr);
    EXPECT_TRUE(dialogs.msgBoxes().empty());
}

// Ctrl and a click take a selection back; the preview shown is still the one OK applies.
TEST_F(EffectsDialog, ASelectionTakenBackKeepsTheEntryShown) {
    letTimePassWhileWaiting();
    const Picture before = shown();
    frmFX& dialog = open();
    select(dialog, "Visor");
    const Picture visor = preview(dialog);
    dialog.List1->clearSelection();
    EXPECT_EQ(preview(dialog), visor);
    EXPECT_TRUE(dialog.Command1->isEnabled());
    dialog.Command1->click();
    EXPECT_EQ(caption(), "   Last Effect: Visor");
    EXPECT_EQ(shown(), applied("Visor", before));
}

TEST_F(EffectsDialog, CancelCloseAndEscapeChangeNothing) {
    const Picture before = shown();
    const std::function<void(frmFX&)> ways[] = {
        [](frmFX& d) { d.Command2->click(); },
        [](frmFX& d) { d.close(); },
        [](frmFX& d) { d.reject(); },
    };
    for (const auto& leave : ways) {
        frmFX& dialog = open();
        for (const char* entry : {"Blur", "TV", "Infrared", "Corruption Bars"})
            select(dialog, entry);
        leave(dialog);
        EXPECT_EQ(w->loadedEffectsDialog(), nullptr);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(shown(), before);
        EXPECT_FALSE(state.ImageChanged);
        EXPECT_FALSE(undoSaved());
        EXPECT_FALSE(w->mnuLastFX->isVisible());
        EXPECT_EQ(pump.doEventsCount(), 0);
    }
}

TEST_F(EffectsDialog, ImageEffectsAgainReplacesTheThumbnailAndKeepsTheSelection) {
    frmFX& dialog = open();
    select(dialog, "Visor");
    setWorking(gradient(30, 20));
    frmFX& same = open();
    EXPECT_EQ(&same, &dialog);
    const Picture thumbnail = fx::makeThumbnail(gradient(30, 20), fx::kPreviewScratchBack);
    EXPECT_EQ(preview(dialog), thumbnail);
    EXPECT_EQ(dialog.picNoFX->box().pictureOrImage(), thumbnail);
    EXPECT_EQ(dialog.List1->currentRow(), indexOf("Visor"));
    EXPECT_TRUE(dialog.Command1->isEnabled());
}

// A preview draws from the program's one random sequence and an applied effect goes on drawing
// from it, so the preview never predicts the applied outcome.
TEST_F(EffectsDialog, PreviewsAndTheAppliedEffectShareTheRandomSequence) {
    letTimePassWhileWaiting();
    frmFX& dialog = open();
    select(dialog, "TV");
    // TV reseeds and then draws once per row: 100 rows of the thumbnail.
    EXPECT_EQ(random.history(), "r" + std::string(100, 'n'));
    dialog.Command1_Click();
    EXPECT_EQ(random.history(), "r" + std::string(100, 'n') + "r" + std::string(7, 'n'));
}

// A picture with a side of 0 gives a thumbnail of the face colour, and every preview runs on it.
TEST_F(EffectsDialog, APictureWithNoAreaGivesAUniformThumbnailAndEveryPreviewRuns) {
    random.setValues({0.0f, 0.999f, 0.5f});
    for (const auto& [width, height] : {std::pair{0, 0}, {0, 5}, {7, 0}}) {
        SCOPED_TRACE(std::to_string(width) + " x " + std::to_string(height));
        setWorking(Picture(width, height));
        frmFX& dialog = open();
        EXPECT_EQ(preview(dialog), Picture(120, 100, kFace));
        for (int k = 0; k < fx::kEffectCount; ++k) {
            dialog.List1->setCurrentRow(k);
            EXPECT_EQ(preview(dialog).width(), 120) << k;
            EXPECT_EQ(preview(dialog).height(), 100) << k;
        }
        EXPECT_TRUE(dialog.Command1->isEnabled());
        dialog.Command2_Click();
    }
}

TEST_F(EffectsDialog, OKDoesNothingWhileTheMainWindowRepeatsAnEffect) {
    w->mnuBright_Click();
    const Picture once = shown();
    frmFX& dialog = open();
    select(dialog, "Neon");
    bool refused = false;
    pump.setOnDoEvents([&] {
        clock.advance(100);
        dialog.Command1_Click();
        refused = !dialog.isApplying() && dialog.isVisible() && !dialog.isUnloaded();
    });
    w->mnuLastFX_Click();
    EXPECT_TRUE(refused);
    EXPECT_EQ(shown(), applied("Brighten", once));
    EXPECT_EQ(caption(), "   Last Effect: Brighten");
    EXPECT_EQ(w->loadedEffectsDialog(), &dialog);
    EXPECT_TRUE(w->isEnabled());
}

TEST_F(EffectsDialog, ClosingTheMainWindowEndsTheProgramWithTheDialogOpen) {
    w->show();
    frmFX& dialog = open();
    select(dialog, "Neon");
    QPointer<frmFX> watched(&dialog);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(programEnds, 1);
    EXPECT_FALSE(state.ImageChanged);
    // The program's end takes the main window, and the dialog goes with it.
    w.reset();
    EXPECT_TRUE(watched.isNull());
}

// A close refused during the wait is not kept: a mosaic run afterwards does not close the program
// at its end.
TEST_F(EffectsDialog, ACloseDuringTheWaitIsNotKeptForALaterRun) {
    w->show();
    frmFX& dialog = open();
    select(dialog, "Grayscale");
    pump.setOnDoEvents([&] {
        clock.advance(100);
        w->close();
    });
    dialog.Command1_Click();
    EXPECT_EQ(programEnds, 0);
    pump.setOnDoEvents({});
    w->Text2->setText(QString::fromStdString(inProgram("after.html")));
    w->Command2_Click();
    EXPECT_TRUE(QFile::exists(QString::fromStdString(inProgram("after.html"))));
    EXPECT_EQ(programEnds, 0);
    EXPECT_TRUE(w->isVisible());
}

}  // namespace
}  // namespace tess
