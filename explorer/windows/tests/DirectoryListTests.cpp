#include "ExplorerFixture.h"

namespace tess::explorer {
namespace {

using DirectoryList = ExplorerFixture;

std::vector<std::string> entries(const frmMain& w) {
    std::vector<std::string> list;
    for (int i = 0; i < w.Combo1->count(); ++i)
        list.push_back(w.Combo1->itemText(i).toStdString());
    return list;
}

TEST_F(DirectoryList, StoredListIsReadAsStored) {
    struct Case {
        std::string stored;
        std::vector<std::string> shown;
    };
    const std::vector<Case> cases = {
        {"", {frmMain::kPlaceholder}},
        {"/a/", {"/a/"}},
        {"/a/,/b/", {"/a/", "/b/"}},
        // The placeholder among others is dropped; an empty part stays an empty entry.
        {std::string("/a/,") + frmMain::kPlaceholder + ",,/b/", {"/a/", "", "/b/"}},
    };
    for (const Case& c : cases) {
        rememberDirs(c.stored);
        auto w = openMain();
        EXPECT_EQ(entries(*w), c.shown) << c.stored;
        EXPECT_EQ(w->Combo1->currentIndex(), 0) << c.stored;
    }
}

TEST_F(DirectoryList, AnAdditionKeepsTheTwentyMostRecentBesideTheNewEntry) {
    std::string stored;
    for (int i = 0; i < 25; ++i)
        stored += (i ? "," : "") + std::string("/d") + std::to_string(i) + "/";
    rememberDirs(stored);
    auto w = openMain();
    EXPECT_EQ(w->Combo1->count(), 25);

    w->AddDirs(pages);
    const std::vector<std::string> list = entries(*w);
    ASSERT_EQ(list.size(), 21u);
    EXPECT_EQ(list[0], pages);
    EXPECT_EQ(list[1], "/d0/");
    EXPECT_EQ(list[20], "/d19/");
    EXPECT_EQ(w->Combo1->currentIndex(), 0);
}

TEST_F(DirectoryList, TheFirstBrowseReplacesThePlaceholder) {
    writePage("Image1.html", "One");
    auto w = openMain();
    dialogs.answerFolder(pages.substr(0, pages.size() - 1));
    w->Command1_Click();
    ASSERT_EQ(dialogs.folders().size(), 1u);
    EXPECT_EQ(dialogs.folders()[0].title, "Please select your Tessaryn mosaic directory.");
    // The placeholder is no folder: the picker opens without a choice.
    EXPECT_EQ(dialogs.folders()[0].startDir, "");
    EXPECT_EQ(entries(*w), std::vector<std::string>{pages});
    EXPECT_TRUE(w->Command2->isEnabled());

    // A folder that exists opens the picker on itself; a cancel changes nothing.
    dialogs.cancelFolder();
    w->Command1_Click();
    EXPECT_EQ(dialogs.folders()[1].startDir, pages.substr(0, pages.size() - 1));
    EXPECT_EQ(entries(*w), std::vector<std::string>{pages});
}

TEST_F(DirectoryList, ADirectoryAlreadyListedInOtherCaseIsNotAddedAgain) {
    const std::string upper = root.path() + "/MOSAICS/";
    rememberDirs("/x/," + pages + ",/y/");
    auto w = openMain();
    w->AddDirs(root.path() + "/mosaics/");
    EXPECT_EQ(entries(*w), (std::vector<std::string>{"/x/", pages, "/y/"}));
    // The directory the user chose becomes current.
    EXPECT_EQ(w->Combo1->currentIndex(), 1);
    w->AddDirs(upper);
    EXPECT_EQ(w->Combo1->count(), 3);
}

TEST_F(DirectoryList, ProcessIsUsableOnlyForADirectoryWithPages) {
    const std::string empty = root.path() + "/Empty/";
    const std::string texts = root.path() + "/Texts/";
    std::filesystem::create_directories(empty);
    std::filesystem::create_directories(texts);
    testing::writeFileContents(texts + "notes.txt", "x");
    testing::writeFileContents(texts + ".hidden.html", "x");
    writePage("Image1.HTM", "One");
    struct Case {
        std::string entry;
        bool usable;
    };
    const std::vector<Case> cases = {
        {pages, true},
        {empty, false},
        {texts, false},
        {root.path() + "/none/", false},
        {frmMain::kPlaceholder, false},
    };
    for (const Case& c : cases) {
        rememberDirs(c.entry);
        auto w = openMain();
        // Choosing entries before the first scan only sets the button; no question, no scan.
        EXPECT_EQ(w->Command2->isEnabled(), c.usable) << c.entry;
        EXPECT_TRUE(dialogs.msgBoxes().empty());
    }
}

TEST_F(DirectoryList, ChangingTheListedDirectoryAsksFirst) {
    writePage("Image1.html", "One");
    const std::string other = root.path() + "/Other/";
    std::filesystem::create_directories(other);
    writePage("Image2.html", "Two", 0, 0, other);
    rememberDirs(pages + "," + other);
    auto w = openMain();
    ASSERT_EQ(column(*w, 0), std::vector<std::string>{"One"});

    dialogs.answerMsgBox(mb::No);
    w->Combo1->setCurrentIndex(1);
    w->Combo1_Click();
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].prompt,
              "You are about to change the selected mosaic directory.\r\n\r\nThis will clear the "
              "contents of the list and you will lose any unsaved changes!\r\n\r\nAre you sure "
              "you want to do this?");
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Are you sure?");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::YesNo | mb::Question | mb::DefaultButton2);
    EXPECT_EQ(w->Combo1->currentIndex(), 0);
    EXPECT_EQ(column(*w, 0), std::vector<std::string>{"One"});
    EXPECT_TRUE(w->Command2->isEnabled());

    dialogs.answerMsgBox(mb::Yes);
    w->Combo1->setCurrentIndex(1);
    w->Combo1_Click();
    EXPECT_EQ(w->rows().count(), 0);
    EXPECT_EQ(w->ListedDirIndex, "1");
    EXPECT_EQ(editButtons(*w), "0000000");
    EXPECT_TRUE(w->Command2->isEnabled());
    // The user starts the scan.
    w->Command2_Click();
    EXPECT_EQ(column(*w, 0), std::vector<std::string>{"Two"});
}

TEST_F(DirectoryList, TheListedDirectoryIsFollowedWhenAnAdditionMovesIt) {
    writePage("Image1.html", "One");
    rememberDirs(pages);
    auto w = openMain();
    ASSERT_EQ(w->rows().count(), 1);
    const std::string other = root.path() + "/Other/";
    std::filesystem::create_directories(other);

    // Adding another directory makes it current: the change question comes, answered No.
    dialogs.answerMsgBox(mb::No);
    w->AddDirs(other);
    EXPECT_EQ(dialogs.msgBoxes().size(), 1u);
    // The listed directory, now at index 1, is current again, and its rows stay.
    EXPECT_EQ(w->Combo1->currentText().toStdString(), pages);
    EXPECT_EQ(w->ListedDirIndex, "1");
    EXPECT_EQ(w->rows().count(), 1);
    // Choosing it again asks nothing.
    w->Combo1_Click();
    EXPECT_EQ(dialogs.msgBoxes().size(), 1u);
}

}  // namespace
}  // namespace tess::explorer
