#include <QKeyEvent>

#include "ExplorerFixture.h"

namespace tess::explorer {
namespace {

class PreviewAndDelete : public ExplorerFixture {
  protected:
    PreviewAndDelete() { shell.setRemovesFiles(true); }

    std::unique_ptr<frmMain> openWithPages(int count) {
        for (int i = 1; i <= count; ++i)
            writePage("p" + std::to_string(i) + ".html", "P" + std::to_string(i));
        return openOnPages();
    }
    static void pressDelete(frmMain& w, Qt::KeyboardModifiers modifiers) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Delete, modifiers);
        QCoreApplication::sendEvent(w.ListView1, &press);
    }
};

TEST_F(PreviewAndDelete, PreviewOpensTheRowsOwnFile) {
    auto w = openWithPages(2);
    w->selectRow(1);
    w->Command8_Click();
    EXPECT_EQ(shell.openedFiles(), std::vector<std::string>{pages + "p2.html"});
    ASSERT_EQ(shell.opened().size(), 1u);

    // A page that went away opens nothing and says so.
    std::filesystem::remove(pages + "p2.html");
    w->Command8_Click();
    EXPECT_EQ(shell.opened().size(), 1u);
    EXPECT_EQ(panel1(*w), "Cannot find \"p2.html\"");
}

TEST_F(PreviewAndDelete, RowsActOnTheDirectoryTheyWereScannedFrom) {
    auto w = openWithPages(1);
    // Another directory, holding a page of the same name, is added and shows in the list
    // while the rows are still those of the first one.
    const std::string other = root.path() + "/Other/";
    std::filesystem::create_directories(other);
    writePage("p1.html", "Elsewhere", 0, 0, other);
    dialogs.answerMsgBox(mb::No);
    w->AddDirs(other);
    w->Combo1->setCurrentIndex(0);
    ASSERT_EQ(w->Combo1->currentText().toStdString(), other);
    w->Command8_Click();
    ASSERT_EQ(shell.opened().size(), 1u);
    EXPECT_EQ(shell.opened()[0], pages + "p1.html");
    dialogs.answerMsgBox(mb::Yes);
    w->Command9_Click();
    ASSERT_EQ(shell.deleted().size(), 1u);
    EXPECT_EQ(shell.deleted()[0].path, pages + "p1.html");
    EXPECT_TRUE(std::filesystem::exists(other + "p1.html"));
}

TEST_F(PreviewAndDelete, DeleteAsksNamingTheFileAndTheRowGoesWithIt) {
    struct Case {
        const char* what;
        Qt::KeyboardModifiers held;
        bool toTrash;
        const char* question;
    };
    const Case cases[] = {
        {"plain", Qt::NoModifier, true, "Are you sure you want to move \"p1.html\" to the trash?"},
        {"shift", Qt::ShiftModifier, false,
         "Are you sure you want to delete \"p1.html\" for good?\r\n\r\nIt does not go to the "
         "trash and cannot be brought back."},
        {"ctrl+shift", Qt::ShiftModifier | Qt::ControlModifier, true,
         "Are you sure you want to move \"p1.html\" to the trash?"},
    };
    for (const Case& c : cases) {
        writePage("p1.html", "P1");
        auto w = openOnPages();
        dialogs.clearRecord();
        heldKeys = c.held;
        dialogs.answerMsgBox(mb::Yes);
        w->Command9_Click();
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u) << c.what;
        EXPECT_EQ(dialogs.msgBoxes()[0].prompt, c.question) << c.what;
        EXPECT_EQ(dialogs.msgBoxes()[0].title, "Delete Mosaic") << c.what;
        EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::YesNo | mb::Question | mb::DefaultButton2);
        ASSERT_FALSE(shell.deleted().empty()) << c.what;
        EXPECT_EQ(shell.deleted().back().toTrash, c.toTrash) << c.what;
        EXPECT_EQ(w->rows().count(), 0) << c.what;
        EXPECT_EQ(editButtons(*w), "0000000") << c.what;
    }
}

TEST_F(PreviewAndDelete, NoToTheQuestionKeepsFileRowAndSelection) {
    auto w = openWithPages(3);
    w->selectRow(2);
    dialogs.answerMsgBox(mb::No);
    w->Command9_Click();
    EXPECT_TRUE(shell.deleted().empty());
    EXPECT_EQ(w->rows().count(), 3);
    EXPECT_EQ(w->selectedRow(), 2);
}

TEST_F(PreviewAndDelete, TheRowAboveTheDeletedOneIsSelected) {
    struct Case {
        int deleted;  // 0-based
        int selected;
    };
    const Case cases[] = {{1, 0}, {0, 0}, {4, 3}};
    for (const Case& c : cases) {
        std::filesystem::remove_all(pages);
        std::filesystem::create_directories(pages);
        auto w = openWithPages(5);
        const std::string gone = w->rows().at(c.deleted).row.fileName;
        w->selectRow(c.deleted);
        dialogs.answerMsgBox(mb::Yes);
        w->Command9_Click();
        EXPECT_EQ(w->rows().count(), 4);
        EXPECT_EQ(rowNamed(*w, gone), -1);
        EXPECT_EQ(w->selectedRow(), c.selected) << c.deleted;
    }
}

TEST_F(PreviewAndDelete, TheDeleteKeyReadsShiftAtThatMoment) {
    struct Case {
        const char* what;
        Qt::KeyboardModifiers withKey;
        bool toTrash;
    };
    const Case cases[] = {
        {"Delete", Qt::NoModifier, true},
        {"Shift+Delete", Qt::ShiftModifier, false},
        {"Ctrl+Shift+Delete", Qt::ShiftModifier | Qt::ControlModifier, true},
    };
    for (const Case& c : cases) {
        writePage("p1.html", "P1");
        auto w = openOnPages();
        heldKeys = c.withKey;
        dialogs.answerMsgBox(mb::Yes);
        pressDelete(*w, c.withKey);
        ASSERT_FALSE(shell.deleted().empty()) << c.what;
        EXPECT_EQ(shell.deleted().back().toTrash, c.toTrash) << c.what;
        EXPECT_EQ(w->rows().count(), 0) << c.what;
    }
}

TEST_F(PreviewAndDelete, AShiftPressedOnTheButtonEarlierDoesNotMakeALaterDeletePermanent) {
    auto w = openWithPages(2);
    // Shift goes down on the delete button and is released elsewhere.
    QKeyEvent shiftDown(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    QCoreApplication::sendEvent(w->Command9, &shiftDown);
    heldKeys = Qt::NoModifier;
    dialogs.answerMsgBox(mb::Yes);
    w->Command9_Click();
    ASSERT_EQ(shell.deleted().size(), 1u);
    EXPECT_TRUE(shell.deleted()[0].toTrash);
    dialogs.answerMsgBox(mb::Yes);
    pressDelete(*w, Qt::NoModifier);
    ASSERT_EQ(shell.deleted().size(), 2u);
    EXPECT_TRUE(shell.deleted()[1].toTrash);
}

TEST_F(PreviewAndDelete, WithoutATrashTheUserDecidesOnDeletingForGood) {
    shell.setTrashResult(Error{errc::Generic, "No trash on this desktop"});
    auto w = openWithPages(2);

    // No keeps the file.
    dialogs.answerMsgBox(mb::Yes);
    dialogs.answerMsgBox(mb::No);
    w->Command9_Click();
    ASSERT_EQ(dialogs.msgBoxes().size(), 2u);
    EXPECT_EQ(dialogs.msgBoxes()[1].prompt,
              "\"p1.html\" cannot be moved to the trash:\r\nNo trash on this desktop\r\n\r\nDo "
              "you want to delete it for good instead?");
    EXPECT_EQ(dialogs.msgBoxes()[1].style, mb::YesNo | mb::Exclamation | mb::DefaultButton2);
    EXPECT_EQ(shell.deleted().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(pages + "p1.html"));
    EXPECT_EQ(w->rows().count(), 2);

    // Yes deletes it for good.
    dialogs.answerMsgBox(mb::Yes);
    dialogs.answerMsgBox(mb::Yes);
    w->Command9_Click();
    ASSERT_EQ(shell.deleted().size(), 3u);
    EXPECT_FALSE(shell.deleted()[2].toTrash);
    EXPECT_FALSE(std::filesystem::exists(pages + "p1.html"));
    EXPECT_EQ(w->rows().count(), 1);
}

TEST_F(PreviewAndDelete, AFailedDeleteIsReportedAndTheRowStays) {
    shell.setDeleteResult(Error{errc::PermissionDenied, "Cannot delete: permission denied"});
    auto w = openWithPages(1);
    heldKeys = Qt::ShiftModifier;
    dialogs.answerMsgBox(mb::Yes);
    w->Command9_Click();
    ASSERT_EQ(dialogs.msgBoxes().size(), 2u);
    EXPECT_EQ(dialogs.msgBoxes()[1].prompt,
              "\"p1.html\" cannot be deleted:\r\nCannot delete: permission denied");
    EXPECT_EQ(w->rows().count(), 1);

    // A page that went away is not deleted, and nothing is asked.
    std::filesystem::remove(pages + "p1.html");
    dialogs.clearRecord();
    w->Command9_Click();
    EXPECT_TRUE(dialogs.msgBoxes().empty());
    EXPECT_EQ(panel1(*w), "Cannot find \"p1.html\"");
    EXPECT_EQ(w->rows().count(), 1);
}

}  // namespace
}  // namespace tess::explorer
