#include "workspace/EditMenu.h"

#include <gtest/gtest.h>

#include "platform/testing/MemoryClipboard.h"

namespace tess {
namespace {

TEST(EditMenuTest, ItemStatesByTabFocusAndClipboard) {
    struct Case {
        const char* name;
        int tab;
        bool undoFile;
        bool copyIsImage;
        bool clipboardPicture;
        EditMenuState state;
    };
    const Case cases[] = {
        {"first tab, all there", 0, true, true, true, {true, true, true}},
        {"first tab, nothing to undo or paste", 0, false, true, false, {false, true, false}},
        {"first tab, cursor in Text1", 0, true, false, true, {true, false, true}},
        {"second tab", 1, true, true, true, {false, false, true}},
        {"second tab, empty clipboard", 1, true, true, false, {false, false, false}},
        {"third tab, cursor in Text1", 2, true, false, true, {false, false, true}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(editMenuState(c.tab, c.undoFile, c.copyIsImage, c.clipboardPicture), c.state)
            << c.name;
    }
}

TEST(EditMenuTest, PopupCopyIsAlwaysOnAndPasteFollowsTheClipboard) {
    EXPECT_EQ(imagePopupState(true), (ImagePopupState{true, true}));
    EXPECT_EQ(imagePopupState(false), (ImagePopupState{true, false}));
}

Picture smallPicture() {
    Picture p(3, 2, 0x112233);
    p.setPixel(2, 1, 0x00FF00);
    return p;
}

TEST(ClipboardPictureTest, CopyThenPasteGivesTheSamePicture) {
    testing::MemoryClipboard clipboard;
    clipboard.setText("old text");
    copyPictureToClipboard(clipboard, smallPicture());
    EXPECT_EQ(clipboard.clearCount(), 1);
    EXPECT_EQ(clipboard.text(), "");
    ASSERT_TRUE(clipboard.hasPicture());

    const Result<Picture> pasted = takeClipboardPicture(clipboard);
    ASSERT_TRUE(pasted.ok());
    EXPECT_EQ(*pasted, smallPicture());
}

TEST(ClipboardPictureTest, NoReadablePictureIsAnErrorWithItsMessage) {
    testing::MemoryClipboard clipboard;
    clipboard.setText("only text");
    const Result<Picture> none = takeClipboardPicture(clipboard);
    ASSERT_FALSE(none.ok());
    EXPECT_EQ(none.error().code, errc::InvalidPicture);

    // A picture format on offer whose data cannot be read: the menus let the paste start.
    clipboard.offerUnreadablePicture();
    EXPECT_TRUE(imagePopupState(clipboard.hasPicture()).pasteEnabled);
    const Result<Picture> unreadable = takeClipboardPicture(clipboard);
    ASSERT_FALSE(unreadable.ok());
    EXPECT_EQ(pasteErrorMessage(unreadable.error().code),
              (Message{"Error while pasting clipboard data!", 48, "Error #481"}));
}

}  // namespace
}  // namespace tess
