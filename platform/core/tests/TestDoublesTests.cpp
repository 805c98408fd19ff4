#include <gtest/gtest.h>

#include <memory>

#include <filesystem>
#include <stdexcept>

#include "platform/testing/FixedClock.h"
#include "platform/testing/MemoryClipboard.h"
#include "platform/testing/RecordingShell.h"
#include "platform/testing/ScriptedDialogs.h"
#include "platform/testing/ScriptedRandom.h"
#include "platform/testing/TempFolder.h"

namespace tess::testing {
namespace {

TEST(FixedClock, AdvanceMovesTicksAndDateTogether) {
    struct Case {
        DateTime start;
        std::int64_t ms;
        DateTime expected;
    };
    const Case cases[] = {
        {{2005, 10, 12, 23, 59, 58, 0}, 2500, {2005, 10, 13, 0, 0, 0, 500}},
        {{2005, 12, 31, 23, 59, 59, 900}, 100, {2006, 1, 1, 0, 0, 0, 0}},
        {{2004, 2, 28, 12, 0, 0, 0}, 24 * 3600 * 1000, {2004, 2, 29, 12, 0, 0, 0}},
        {{2005, 2, 28, 12, 0, 0, 0}, 24 * 3600 * 1000, {2005, 3, 1, 12, 0, 0, 0}},
        {{2005, 3, 1, 0, 0, 0, 0}, -1, {2005, 2, 28, 23, 59, 59, 999}},
    };
    for (const Case& c : cases) {
        FixedClock clock(c.start, 1000);
        clock.advance(c.ms);
        const DateTime t = clock.now();
        EXPECT_EQ(std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond),
                  std::tie(c.expected.year, c.expected.month, c.expected.day, c.expected.hour,
                           c.expected.minute, c.expected.second, c.expected.millisecond))
            << c.start.year << "-" << c.start.month << "-" << c.start.day << " + " << c.ms;
        EXPECT_EQ(clock.tickCount(), static_cast<std::uint32_t>(1000 + c.ms));
    }
}

TEST(FixedClock, TicksWrapAtTwoToTheThirtyTwo) {
    FixedClock clock({}, 0xFFFF'FF00u);
    clock.advance(0x200);
    EXPECT_EQ(clock.tickCount(), 0x100u);
    EXPECT_EQ(clock.tickCount() - 0xFFFF'FF00u, 0x200u);
}

TEST(FixedClock, SecondsSinceMidnightCountsFractions) {
    FixedClock clock({2005, 10, 12, 13, 2, 3, 250});
    EXPECT_DOUBLE_EQ(clock.secondsSinceMidnight(), 13 * 3600 + 2 * 60 + 3.25);
}

TEST(ScriptedRandom, CyclesThroughTheScriptAndRecordsReseeds) {
    ScriptedRandom random({0.25f, 0.5f});
    random.reseed(7);
    EXPECT_EQ(random.next(), 0.25f);
    EXPECT_EQ(random.next(), 0.5f);
    random.reseed(8);
    EXPECT_EQ(random.next(), 0.25f);
    EXPECT_EQ(random.history(), "rnnrn");
    EXPECT_EQ(random.reseeds(), (std::vector<std::uint64_t>{7, 8}));
    EXPECT_EQ(random.drawCount(), 3);
}

TEST(ScriptedRandom, RefusesValuesOutsideTheUnitInterval) {
    EXPECT_THROW(ScriptedRandom({0.5f, 1.0f}), std::invalid_argument);
    EXPECT_THROW(ScriptedRandom({-0.1f}), std::invalid_argument);
    EXPECT_EQ(ScriptedRandom().next(), 0.0f);
}

TEST(ScriptedDialogs, GivesPreparedAnswersInOrderThenDefaults) {
    ScriptedDialogs dialogs;
    dialogs.answerMsgBox(mb::No);
    dialogs.answerOpen("/tmp/a.bmp", 2);
    dialogs.cancelOpen();

    EXPECT_EQ(dialogs.msgBox("Sure?", mb::YesNo + mb::Question, "Load Image?"), mb::No);
    EXPECT_EQ(dialogs.msgBox("Again?", mb::YesNo + mb::Question, "Load Image?"), mb::Yes);
    const auto first = dialogs.openFile({"", "Images|*.bmp", 1, "", "", 137220});
    ASSERT_TRUE(first);
    EXPECT_EQ(first->fileName, "/tmp/a.bmp");
    EXPECT_EQ(first->filterIndex, 2);
    EXPECT_FALSE(dialogs.openFile({}));  // prepared cancel: answered
    EXPECT_FALSE(dialogs.openFile({}));  // nothing prepared: unanswered
    EXPECT_FALSE(dialogs.chooseColour(0xFF, 1));

    ASSERT_EQ(dialogs.msgBoxes().size(), 2u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt, "Sure?");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, 36);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Load Image?");
    EXPECT_TRUE(dialogs.msgBoxes()[0].answered);
    EXPECT_FALSE(dialogs.msgBoxes()[1].answered);
    ASSERT_EQ(dialogs.opens().size(), 3u);
    EXPECT_EQ(dialogs.opens()[0].request.flags, 137220);
    EXPECT_TRUE(dialogs.opens()[1].answered);
    EXPECT_FALSE(dialogs.opens()[2].answered);
    EXPECT_EQ(dialogs.colours()[0].initial, 0xFF);
    EXPECT_EQ(dialogs.unansweredCount(), 3);
    EXPECT_EQ(dialogs.pendingCount(), 0);
}

TEST(ScriptedDialogs, UnansweredMessageBoxGivesItsFirstButton) {
    const std::pair<int, int> cases[] = {
        {mb::OKOnly, mb::OK},
        {mb::OKCancel, mb::OK},
        {mb::AbortRetryIgnore, mb::Abort},
        {mb::YesNoCancel, mb::Yes},
        {mb::YesNo, mb::Yes},
        {mb::RetryCancel, mb::Retry},
        {mb::YesNo + mb::Question + mb::DefaultButton2, mb::Yes},
    };
    for (const auto& [style, answer] : cases) {
        ScriptedDialogs dialogs;
        EXPECT_EQ(dialogs.msgBox("", style, ""), answer) << "style " << style;
    }
}

TEST(MemoryClipboard, HoldsOneThingAtATime) {
    MemoryClipboard clipboard;
    clipboard.setPicture(Picture(2, 1, 0x123456));
    EXPECT_TRUE(clipboard.hasPicture());
    EXPECT_FALSE(clipboard.hasText());
    clipboard.setText("abc");
    EXPECT_FALSE(clipboard.hasPicture());
    EXPECT_TRUE(clipboard.hasText());
    EXPECT_EQ(clipboard.text(), "abc");
    clipboard.setPicture(Picture(2, 1, 0x123456));
    EXPECT_EQ(clipboard.text(), "");
    EXPECT_FALSE(clipboard.hasText());
    ASSERT_TRUE(clipboard.picture());
    EXPECT_EQ(clipboard.picture()->pixel(1, 0), 0x123456);

    clipboard.offerUnreadablePicture();
    EXPECT_TRUE(clipboard.hasPicture());
    EXPECT_FALSE(clipboard.picture());
    // Empty text is text all the same; a shared text is taken as a copy.
    clipboard.setText("");
    EXPECT_TRUE(clipboard.hasText());
    clipboard.offerText(std::make_shared<const std::string>("shared"));
    EXPECT_EQ(clipboard.text(), "shared");
    clipboard.clear();
    EXPECT_FALSE(clipboard.hasText());
    EXPECT_EQ(clipboard.setTextCount(), 3);
    EXPECT_EQ(clipboard.setPictureCount(), 2);
}

TEST(RecordingShell, RemovesFilesOnlyWhenAskedAndNeverOnAPreparedFailure) {
    const TempFolder dir("tess-recording-shell");
    const std::string path = dir.write("page.html", "x");

    RecordingShell shell;
    EXPECT_TRUE(shell.deleteFile(path, true));
    EXPECT_TRUE(std::filesystem::exists(path));

    shell.setRemovesFiles(true);
    shell.setDeleteResult(Error{errc::PermissionDenied, "refused"});
    EXPECT_EQ(shell.deleteFile(path, false).error().code, errc::PermissionDenied);
    EXPECT_TRUE(std::filesystem::exists(path));

    shell.setDeleteResult({});
    EXPECT_TRUE(shell.deleteFile(path, false));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(shell.deleteFile(path, false).error().code, errc::FileNotFound);

    ASSERT_EQ(shell.deleted().size(), 4u);
    EXPECT_TRUE(shell.deleted()[0].toTrash);
    EXPECT_EQ(shell.deleted()[3].path, path);
}

}  // namespace
}  // namespace tess::testing
