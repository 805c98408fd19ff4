#include "workspace/WorkspaceActions.h"

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/Bmp.h"
#include "platform/testing/MemoryClipboard.h"
#include "platform/testing/ScriptedDialogs.h"
#include "workspace/EditMenu.h"

namespace tess {
namespace {

// The working picture at start and two pictures on disk, in a program folder of the test's own.
class WorkspaceActionsTest : public ::testing::Test {
  protected:
    WorkspaceActionsTest() : undo(folder.path()) {
        a.setPixel(0, 0, 0x0000FF);
        b.setPixel(1, 1, 0x00FF00);
        pathA = folder.write("a.bmp", encodeBmp24(a));
        pathB = folder.write("Photo.JPEG", encodeBmp24(b));
    }

    TempFolder folder;
    UndoStore undo;
    testing::ScriptedDialogs dialogs;
    Picture sample{140, 92, 0x808080};
    Picture a{7, 5, 0x111111};
    Picture b{3, 500, 0x222222};
    std::string pathA;
    std::string pathB;
};

TEST_F(WorkspaceActionsTest, LoadGivesThePictureWithTheFileTextsAndSavesTheShownOne) {
    const PictureUpdate update = loadPicture(pathA, undo, sample);
    ASSERT_TRUE(update.replacement.has_value());
    EXPECT_FALSE(update.message.has_value());
    EXPECT_EQ(update.replacement->picture, a);
    EXPECT_EQ(update.replacement->change, pictureChange(PictureSource::File, pathA));
    EXPECT_EQ(update.replacement->statusText, "0x0 of 7x5 (Idle)");
    ASSERT_TRUE(undo.hasUndo());
    EXPECT_EQ(*undo.swap(a), sample);
}

TEST_F(WorkspaceActionsTest, UndecodablePictureKeepsThePictureAndSavesItForUndo) {
    ASSERT_TRUE(undo.save(sample).ok());
    const std::string bad = folder.write("x.jpg", "plain text, not a picture");
    const PictureUpdate update = loadPicture(bad, undo, a);
    EXPECT_FALSE(update.replacement.has_value());
    ASSERT_TRUE(update.message.has_value());
    EXPECT_EQ(update.message->title, "Error Loading Image");
    // The attempt saved the picture still shown, so undo brings back that same picture.
    EXPECT_EQ(*undo.swap(a), a);
}

TEST_F(WorkspaceActionsTest, LoadAThenBThenUndoTwice) {
    Picture shown = sample;
    for (const std::string& path : {pathA, pathB}) {
        PictureUpdate update = loadPicture(path, undo, shown);
        ASSERT_TRUE(update.replacement.has_value()) << path;
        shown = update.replacement->picture;
    }
    std::optional<PictureReplacement> first = undoPicture(undo, shown);
    ASSERT_TRUE(first.has_value());
    EXPECT_EQ(first->picture, a);
    EXPECT_EQ(first->change.pageTitle, "Image From Undo");
    EXPECT_EQ(first->change.sourceLine, "Using Undo Image");
    EXPECT_EQ(first->statusText, "0x0 of 7x5 (Idle)");

    std::optional<PictureReplacement> second = undoPicture(undo, first->picture);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->picture, b);
    EXPECT_EQ(second->statusText, "0x0 of 3x500 (Idle)");
}

TEST_F(WorkspaceActionsTest, UndoWithoutFileGivesNothing) {
    EXPECT_FALSE(undoPicture(undo, sample).has_value());
}

TEST_F(WorkspaceActionsTest, DropOfAJpegAnsweredYesLoadsIt) {
    dialogs.answerMsgBox(mb::Yes);
    const DropRequest request = confirmDrop(dialogs, {pathB}, kImageTarget);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Load Image?");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, 36);
    ASSERT_EQ(request.kind, DropKind::Picture);

    const PictureUpdate update = loadPicture(request.path, undo, sample);
    ASSERT_TRUE(update.replacement.has_value());
    EXPECT_EQ(update.replacement->picture, b);
    EXPECT_EQ(update.replacement->change.pageTitle, "Image From " + pathB);
    EXPECT_EQ(dialogs.unansweredCount(), 0);
}

TEST_F(WorkspaceActionsTest, DropAnsweredNoOrOfAnotherTypeDoesNothing) {
    dialogs.answerMsgBox(mb::No);
    EXPECT_EQ(confirmDrop(dialogs, {pathB}, kImageTarget).kind, DropKind::Ignore);
    EXPECT_EQ(dialogs.msgBoxes().size(), 1u);

    EXPECT_EQ(confirmDrop(dialogs, {folder.file("notes.doc")}, kImageTarget).kind,
              DropKind::Ignore);
    EXPECT_EQ(confirmDrop(dialogs, {pathB}, kTextTarget).kind, DropKind::Ignore);
    EXPECT_EQ(dialogs.msgBoxes().size(), 1u);
}

TEST_F(WorkspaceActionsTest, TwoFilesDroppedShowTheCountAndAskNothing) {
    EXPECT_EQ(confirmDrop(dialogs, {pathA, pathB}, kImageTarget).kind, DropKind::Ignore);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Cannot Load Files");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, 48);
    EXPECT_TRUE(dialogs.msgBoxes()[0].prompt.ends_with("dragged 2 files."));
}

TEST_F(WorkspaceActionsTest, ReadmeDroppedOnTheCustomTextGivesItsText) {
    const std::string readme = folder.write("README.TXT", "first line\r\nsecond \xBD");
    dialogs.answerMsgBox(mb::Yes);
    const DropRequest request = confirmDrop(dialogs, {readme}, kTextTarget);
    ASSERT_EQ(request.kind, DropKind::Text);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Load Custom Text?");
    EXPECT_EQ(loadTextFile(request.path),
              (TextFileLoad{true, "first line\r\nsecond \xC2\xBD", {}}));
}

TEST_F(WorkspaceActionsTest, CopyThenPasteThenUndo) {
    testing::MemoryClipboard clipboard;
    copyPictureToClipboard(clipboard, a);
    const PictureUpdate pasted = pastePicture(clipboard, undo, a);
    ASSERT_TRUE(pasted.replacement.has_value());
    EXPECT_EQ(pasted.replacement->picture, a);
    EXPECT_EQ(pasted.replacement->change,
              (PictureChange{"Image From Clipboard", "Using Clipboad Image", true}));

    std::optional<PictureReplacement> undone = undoPicture(undo, pasted.replacement->picture);
    ASSERT_TRUE(undone.has_value());
    EXPECT_EQ(undone->picture, a);
}

TEST_F(WorkspaceActionsTest, FailedPasteShowsItsMessageAndKeepsTheUndoCopy) {
    ASSERT_TRUE(undo.save(sample).ok());
    testing::MemoryClipboard clipboard;
    clipboard.offerUnreadablePicture();
    const PictureUpdate pasted = pastePicture(clipboard, undo, a);
    EXPECT_FALSE(pasted.replacement.has_value());
    ASSERT_TRUE(pasted.message.has_value());
    EXPECT_EQ(pasted.message->text, "Error while pasting clipboard data!");
    EXPECT_EQ(*undo.swap(a), sample);
}

}  // namespace
}  // namespace tess
