#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <fstream>

#include "ShellFixture.h"
#include "effects/EffectRun.h"
#include "effects/EffectTable.h"
#include "effects/FlipInvert.h"
#include "effects/Thumbnail.h"
#include "platform/qt/QtText.h"
#include "platform/testing/AddressSpaceLimit.h"
#include "platform/testing/Pictures.h"
#include "projects/qt/ProgressWindow.h"
#include "shell/frmFX.h"

namespace tess {
namespace {

using testing::gradient;

// The main window after its load, with a small picture of its own as the working picture.
class EffectsWindow : public MainWindowFixture {
  protected:
    EffectsWindow() { setWorking(gradient(12, 7)); }
    bool lastEffectShown() const {
        return w->mnuLastFX->isVisible() && w->mnuLineLFBreak->isVisible();
    }
    // What the library gives for the effect on the picture, with the main window's scratch colour.
    static Picture expected(const fx::EffectEntry& entry, const Picture& picture) {
        testing::FixedClock fixedClock;
        testing::ScriptedRandom noRandom;
        Result<Picture> result = fx::applyEffect(entry.style, entry.apply, picture,
                                                 fx::kMainScratchBack, noRandom, fixedClock);
        return result.ok() ? *result : Picture();
    }
    static const fx::EffectEntry& entry(const char* displayName) {
        return fx::effectTable()[static_cast<std::size_t>(
            fx::effectIndexByDisplayName(displayName).value())];
    }
    // The wait of the repeat lets 100 ms pass at each turn of the event loop.
    void letTimePassWhileWaiting() {
        pump.setOnDoEvents([this] { clock.advance(100); });
    }
};

TEST_F(EffectsWindow, TheMenuItemsAreTheRowsOfTheEffectTable) {
    const std::array<QAction*, 38> items = w->effectItems();
    for (std::size_t k = 0; k < items.size(); ++k) {
        const fx::EffectEntry& row = fx::effectTable()[k];
        EXPECT_EQ(qt::fromQ(items[k]->objectName()), row.menuName) << k;
        EXPECT_EQ(qt::fromQ(items[k]->text()), row.menuCaption) << k;
    }
}

TEST_F(EffectsWindow, EveryBuiltEffectRunsItsRowInTheFrame) {
    const std::array<QAction*, 38> items = w->effectItems();
    for (std::size_t k = 0; k < items.size(); ++k) {
        const fx::EffectEntry& row = fx::effectTable()[k];
        if (row.apply == nullptr)
            continue;
        const Picture before = gradient(12, 7);
        setWorking(before);
        items[k]->trigger();
        EXPECT_TRUE(state.ImageChanged) << row.displayName;
        EXPECT_EQ(caption(), "   Last Effect: " + std::string(row.displayName));
        EXPECT_TRUE(lastEffectShown()) << row.displayName;
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << row.displayName;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << row.displayName;
        w->mnuUndo_Click();
        EXPECT_EQ(shown(), before) << "undo after " << row.displayName;
    }
}

TEST_F(EffectsWindow, ToneEffectsChangeTheWorkingPictureAsTheLibraryDoes) {
    const Picture before = gradient(12, 7);
    struct Case {
        const char* name;
        void (frmMain::*handler)();
    };
    const Case cases[] = {
        {"Brighten", &frmMain::mnuBright_Click},
        {"Darken", &frmMain::mnuDarken_Click},
        {"Decrease Contrast", &frmMain::mnuContrastDown_Click},
        {"Increase Contrast", &frmMain::mnuContrastUp_Click},
        {"Black && White", &frmMain::mnuBandW_Click},
        {"Grayscale", &frmMain::mnuGrey_Click},
        {"RGB Blue", &frmMain::mnuRGBBlue_Click},
        {"RGB Green", &frmMain::mnuRGBGreen_Click},
        {"RGB Red", &frmMain::mnuRGBRed_Click},
        {"Neon", &frmMain::mnuNeon_Click},
    };
    for (const Case& c : cases) {
        setWorking(before);
        ((*w).*c.handler)();
        EXPECT_EQ(shown(), expected(entry(c.name), before)) << c.name;
        EXPECT_EQ(w->srcPic->box().surface(), shown()) << c.name;
    }
    // The pixel (250, 100, 50) through Brighten on the whole window.
    setWorking(Picture(3, 2, rgb(250, 100, 50)));
    w->mnuBright_Click();
    EXPECT_EQ(shown(), Picture(3, 2, rgb(250, 120, 60)));
}

TEST_F(EffectsWindow, APictureWithNoAreaStillTakesTheFrame) {
    setWorking(Picture(0, 0));
    w->mnuGrey_Click();
    EXPECT_TRUE(state.ImageChanged);
    EXPECT_EQ(caption(), "   Last Effect: Grayscale");
    EXPECT_TRUE(QFile::exists(QString::fromStdString(inProgram("~tesundo.dat"))));
}

// The undo copy never stops a command: where it cannot be written the picture still changes, and
// Undo is unavailable afterwards.
TEST_F(EffectsWindow, WithoutAnUndoCopyTheCommandRunsAndLeavesNothingToUndo) {
    struct Case {
        const char* name;
        void (frmMain::*handler)();
        bool remembered;  // as the last effect
    };
    const Case cases[] = {
        {"Darken", &frmMain::mnuDarken_Click, true},   {"Mosaic", &frmMain::mnuMosaic_Click, true},
        {"Outline", &frmMain::mnuOutline_Click, true},  // the hourglass over the whole screen
        {"Flip H", &frmMain::mnuFlipH_Click, false},   {"Invert", &frmMain::mnuInvert_Click, false},
    };
    blockUndoCopies();
    for (const Case& c : cases) {
        const Picture before = gradient(12, 7);
        setWorking(before);
        w->mnuLastFX->setVisible(false);
        ((*w).*c.handler)();
        EXPECT_NE(shown(), before) << c.name;
        EXPECT_EQ(w->srcPic->box().surface(), shown()) << c.name;
        EXPECT_TRUE(state.ImageChanged) << c.name;
        EXPECT_EQ(w->mnuLastFX->isVisible(), c.remembered) << c.name;
        EXPECT_FALSE(undoOffered()) << c.name;
        w->mnuUndo_Click();
        EXPECT_NE(shown(), before) << c.name;
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << c.name;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.name;
    }
    EXPECT_TRUE(dialogs.msgBoxes().empty());
}

TEST_F(EffectsWindow, WithoutMemoryForItsPicturesAnEffectChangesNothing) {
    // 64 MiB: more than the room left below, so no second picture of that size fits.
    const Picture large(4096, 4096, rgb(250, 100, 50));
    struct Case {
        const char* name;
        void (frmMain::*handler)();
    };
    const Case cases[] = {
        {"Darken", &frmMain::mnuDarken_Click},  // in place, with its result copied beside it
        {"Mosaic", &frmMain::mnuMosaic_Click},
        {"Outline", &frmMain::mnuOutline_Click},  // the hourglass over the whole screen
        {"Flip H", &frmMain::mnuFlipH_Click},
    };
    setWorking(large);
    for (const Case& c : cases) {
        {
            testing::AddressSpaceLimit limit(std::size_t{16} << 20);
            if (!limit.active())
                GTEST_SKIP() << "the address space cannot be limited here";
            ((*w).*c.handler)();
        }
        EXPECT_FALSE(state.ImageChanged) << c.name;
        EXPECT_FALSE(w->mnuLastFX->isVisible()) << c.name;
        EXPECT_EQ(caption(), frmMain::kLastFXDesignCaption) << c.name;
        EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor) << c.name;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << c.name;
        // The scratch picture is readied before the undo copy, so not even that was written.
        EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("~tesundo.dat")))) << c.name;
    }
    EXPECT_TRUE(shown() == large);
    EXPECT_TRUE(w->srcPic->box().surface() == large);
}

TEST_F(EffectsWindow, AnUndoCopyThatFailsInsideTheRepeatStillAppliesTheEffect) {
    w->mnuBright_Click();
    const Picture once = shown();
    blockUndoCopies();
    bool lockedDuringWait = false;
    pump.setOnDoEvents([&] {
        clock.advance(100);
        lockedDuringWait = !w->isEnabled() && w->progressWindow().isLoaded();
    });
    w->mnuLastFX_Click();
    EXPECT_TRUE(lockedDuringWait);
    EXPECT_EQ(shown(), expected(entry("Brighten"), once));
    EXPECT_FALSE(undoOffered());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(w->progressWindow().isLoaded());
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(caption(), "   Last Effect: Brighten");
    EXPECT_TRUE(lastEffectShown());
    // Nothing is left busy, and once the copy can be made undo is back.
    unblockUndoCopies();
    const Picture twice = shown();
    w->mnuDarken_Click();
    EXPECT_EQ(shown(), expected(entry("Darken"), twice));
    w->mnuLastFX_Click();
    EXPECT_EQ(shown(), expected(entry("Darken"), expected(entry("Darken"), twice)));
    EXPECT_TRUE(undoOffered());
}

TEST_F(EffectsWindow, FlipAndInvertFromTheirItemsAndButtons) {
    const Picture before = gradient(12, 7);
    struct Case {
        const char* tool;
        QAction* item;
        QPushButton* button;
        fx::EffectFunction function;
    };
    const Case cases[] = {
        {"Flip H", w->mnuFlipH, w->Command6, fx::flipHorizontal},
        {"Flip V", w->mnuFlipV, w->Command5, fx::flipVertical},
        {"Invert", w->mnuInvert, w->Command7, fx::invertColours},
    };
    for (const Case& c : cases) {
        testing::FixedClock fixedClock;
        testing::ScriptedRandom noRandom;
        const Picture result = *fx::applyEffect(fx::EffectStyle::Scratch, c.function, before,
                                                fx::kMainScratchBack, noRandom, fixedClock);
        setWorking(before);
        c.item->trigger();
        EXPECT_EQ(shown(), result) << c.tool;
        EXPECT_TRUE(state.ImageChanged) << c.tool;
        c.button->click();
        EXPECT_EQ(shown(), before) << c.tool << " twice";
        w->mnuUndo_Click();
        EXPECT_EQ(shown(), result) << "undo after " << c.tool;
        // The tools are not remembered as the last effect.
        EXPECT_FALSE(w->mnuLastFX->isVisible()) << c.tool;
    }
    setWorking(Picture(1, 1, rgb(250, 100, 50)));
    w->mnuInvert_Click();
    EXPECT_EQ(shown().pixel(0, 0), rgb(5, 155, 205));
}

TEST_F(EffectsWindow, TheLastEffectRepeatsBehindTheProgressWindow) {
    w->mnuBright_Click();
    const Picture once = shown();
    letTimePassWhileWaiting();
    std::vector<std::string> lines;
    bool mainEnabledDuringWait = true;
    bool refusedDuringWait = true;
    pump.setOnDoEvents([&] {
        clock.advance(100);
        frmSLProj& form = w->progressWindow().form();
        lines = {qt::fromQ(form.Label1->text()), qt::fromQ(form.Label2->text()),
                 qt::fromQ(form.Label3->text())};
        mainEnabledDuringWait = mainEnabledDuringWait && w->isEnabled();
        // Nothing else may change the picture meanwhile.
        w->mnuDarken_Click();
        w->mnuFlipV_Click();
        w->mnuLastFX_Click();
        // Neither a load nor a mosaic run starts.
        w->Command1_Click();
        w->Command2_Click();
        refusedDuringWait = refusedDuringWait && shown() == once && dialogs.opens().empty() &&
                            w->Command2->text() == "Create Mosaic!";
    });
    const std::uint32_t start = clock.tickCount();
    w->mnuLastFX_Click();
    EXPECT_GE(clock.tickCount() - start, 500u);
    EXPECT_EQ(lines, (std::vector<std::string>{"Applying Effect", "Brighten", "Please Wait..."}));
    EXPECT_FALSE(mainEnabledDuringWait);
    EXPECT_TRUE(refusedDuringWait);
    EXPECT_EQ(shown(), expected(entry("Brighten"), once));
    EXPECT_EQ(caption(), "   Last Effect: Brighten");
    EXPECT_TRUE(lastEffectShown());
    EXPECT_TRUE(w->isEnabled());
    EXPECT_FALSE(w->progressWindow().isLoaded());
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
    // One undo brings back the picture before the repeat.
    w->mnuUndo_Click();
    EXPECT_EQ(shown(), once);
}

TEST_F(EffectsWindow, TheRepeatTakesTheNameFromTheCaption) {
    const Picture before = gradient(12, 7);
    struct Case {
        const char* caption;
        const char* repeats;  // nullptr: nothing runs and the item hides
    };
    const Case cases[] = {
        {"   Last Effect: Black && White", "Black && White"},
        {"   Last Effect: Neon", "Neon"},
        {"0123456789abcdefMosaic", "Mosaic"},
        {"   Last Effect: blur", nullptr},
        {"   Last Effect: Pool Tile", nullptr},
        {"   Last Effect: ", nullptr},
    };
    letTimePassWhileWaiting();
    for (const Case& c : cases) {
        setWorking(before);
        w->mnuLastFX->setText(qt::toQ(c.caption));
        w->mnuLastFX->setVisible(true);
        w->mnuLineLFBreak->setVisible(true);
        w->mnuLastFX_Click();
        if (c.repeats) {
            EXPECT_EQ(shown(), expected(entry(c.repeats), before)) << c.caption;
            EXPECT_EQ(caption(), "   Last Effect: " + std::string(c.repeats));
            EXPECT_TRUE(lastEffectShown()) << c.caption;
        } else {
            EXPECT_EQ(shown(), before) << c.caption;
            EXPECT_FALSE(state.ImageChanged) << c.caption;
            EXPECT_FALSE(w->mnuLastFX->isVisible()) << c.caption;
            EXPECT_FALSE(w->mnuLineLFBreak->isVisible()) << c.caption;
        }
        EXPECT_TRUE(w->isEnabled()) << c.caption;
        EXPECT_FALSE(w->progressWindow().isLoaded()) << c.caption;
    }
}

TEST_F(EffectsWindow, ACaptionTooShortForANameRepeatsNothingAndWaitsForNothing) {
    store("LastFX", "Neon");
    w = openMain();
    ASSERT_TRUE(w->mnuLastFX->isVisible());
    const Picture before = shown();
    w->mnuLastFX_Click();
    EXPECT_EQ(pump.doEventsCount(), 0);
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(w->mnuLastFX->isVisible());
    EXPECT_FALSE(w->mnuLineLFBreak->isVisible());
    EXPECT_FALSE(w->progressWindow().isLoaded());
}

TEST_F(EffectsWindow, TheLastEffectIsStoredAtShutDownAndRepeatsAfterTheNextStart) {
    w->mnuRGBRed_Click();
    w->Form_Unload();
    EXPECT_EQ(setting("LastFX"), "   Last Effect: RGB Red");
    w = openMain();
    setWorking(gradient(5, 4));
    EXPECT_EQ(caption(), "   Last Effect: RGB Red");
    EXPECT_TRUE(lastEffectShown());
    letTimePassWhileWaiting();
    w->mnuLastFX_Click();
    EXPECT_EQ(shown(), expected(entry("RGB Red"), gradient(5, 4)));
}

TEST_F(EffectsWindow, ImageEffectsBuildsTheThumbnailAndChangesNothingElse) {
    const Picture before = shown();
    w->mnuImgEfx_Click();
    ASSERT_NE(w->loadedEffectsDialog(), nullptr);
    EXPECT_EQ(w->loadedEffectsDialog()->picNoFX->box().pictureOrImage(),
              fx::makeThumbnail(before, fx::kPreviewScratchBack));
    EXPECT_EQ(shown(), before);
    EXPECT_FALSE(state.ImageChanged);
    EXPECT_FALSE(QFile::exists(QString::fromStdString(inProgram("~tesundo.dat"))));
    EXPECT_FALSE(w->mnuLastFX->isVisible());
}

TEST_F(EffectsWindow, TheEffectsSubmenuStaysHiddenBesideTheDialog) {
    EXPECT_FALSE(w->mnuEffects->menuAction()->isVisible());
}

}  // namespace
}  // namespace tess
