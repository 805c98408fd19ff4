#include <QAction>

#include "ShellFixture.h"

namespace tess {
namespace {

// The pattern effects reached through the main window's handlers: they work on its pictures with
// its scratch picture's colour (the window colour, white) and its program-wide random sequence.
class PatternEffectsWindow : public MainWindowFixture {};

TEST_F(PatternEffectsWindow, UndrawnScratchPixelsShowTheWindowColour) {
    // Boxes on 5 x 5 of one colour: the 4 x 4 outline, and white inside it and in the lanes.
    setWorking(Picture(5, 5, 0x123456));
    w->mnuBoxes_Click();
    const Picture result = shown();
    EXPECT_EQ(result.pixel(0, 0), 0x123456);
    EXPECT_EQ(result.pixel(3, 3), 0x123456);
    EXPECT_EQ(result.pixel(1, 1), 0xFFFFFF);
    EXPECT_EQ(result.pixel(4, 2), 0xFFFFFF);
    EXPECT_EQ(result.pixel(2, 4), 0xFFFFFF);
    EXPECT_TRUE(state.ImageChanged);
}

TEST_F(PatternEffectsWindow, MixedEffectsInvertAgainstTheWindowColour) {
    // Infrared: (100, 200, 50) becomes grey 205; Outer Emboss on one colour becomes grey 127.
    setWorking(Picture(2, 1, rgb(100, 200, 50)));
    w->mnuInfrared_Click();
    EXPECT_EQ(shown(), Picture(2, 1, rgb(205, 205, 205)));
    setWorking(Picture(3, 3, rgb(10, 20, 30)));
    w->mnuOEmboss_Click();
    EXPECT_EQ(shown(), Picture(3, 3, rgb(127, 127, 127)));
}

TEST_F(PatternEffectsWindow, RandomEffectsDrawFromTheProgramWideSequence) {
    // TV reseeds and draws one number per row; 0.9 picks blue for both rows.
    random.setValues({0.9f});
    setWorking(Picture(2, 2, 0));
    w->mnuTV_Click();
    EXPECT_EQ(shown(), Picture(2, 2, 0x280000));
    EXPECT_EQ(random.history(), "rnn");
    // TV Snow (Color) continues the sequence without a reseed: two numbers per pixel.
    setWorking(Picture(2, 2, 0x000007));
    w->mnuTVSnow_Click();
    EXPECT_EQ(random.history(), "rnnnnnnnnnn");
}

TEST_F(PatternEffectsWindow, UndoAfterAnEffectRestoresThePicture) {
    Picture before(9, 9);
    for (int y = 0; y < 9; ++y) {
        for (int x = 0; x < 9; ++x)
            before.setPixel(x, y, rgb(x * 25, y * 25, 99));
    }
    setWorking(before);
    w->mnuCorruptionB_Click();
    EXPECT_NE(shown(), before);
    w->mnuUndo_Click();
    EXPECT_EQ(shown(), before);
}

}  // namespace
}  // namespace tess
