#include "workspace/PictureChange.h"

#include <gtest/gtest.h>

namespace tess {
namespace {

TEST(PictureChangeTest, TextsAndFlagPerSource) {
    EXPECT_EQ(pictureChange(PictureSource::File, "/home/u/Photo.JPEG"),
              (PictureChange{"Image From /home/u/Photo.JPEG", "/home/u/Photo.JPEG", false}));
    // A pasted or undone picture is no longer the loaded file: a project save must store the
    // picture itself.
    EXPECT_EQ(pictureChange(PictureSource::Clipboard, "/ignored"),
              (PictureChange{"Image From Clipboard", "Using Clipboad Image", true}));
    EXPECT_EQ(pictureChange(PictureSource::Undo),
              (PictureChange{"Image From Undo", "Using Undo Image", true}));
}

TEST(PictureChangeTest, IdleStatusTextHasNoBlanksAroundTheSizes) {
    EXPECT_EQ(idleStatusText(140, 92), "0x0 of 140x92 (Idle)");
    EXPECT_EQ(idleStatusText(0, 0), "0x0 of 0x0 (Idle)");
    EXPECT_EQ(idleStatusText(32767, 1), "0x0 of 32767x1 (Idle)");
}

TEST(PictureChangeTest, IdleOnlyWithTheCreateCaption) {
    EXPECT_TRUE(isIdle("Create Mosaic!"));
    EXPECT_FALSE(isIdle("Cancel"));
    EXPECT_FALSE(isIdle("Stop!"));
    EXPECT_FALSE(isIdle("create mosaic!"));
}

}  // namespace
}  // namespace tess
