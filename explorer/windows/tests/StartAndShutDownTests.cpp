#include <QCheckBox>
#include <QHeaderView>

#include "ExplorerFixture.h"

namespace tess::explorer {
namespace {

using StartAndShutDown = ExplorerFixture;

TEST_F(StartAndShutDown, FirstStartShowsThePlaceholderAndScansNothing) {
    auto w = openMain();
    ASSERT_EQ(w->Combo1->count(), 1);
    EXPECT_EQ(w->Combo1->itemText(0).toStdString(), frmMain::kPlaceholder);
    EXPECT_FALSE(w->Command2->isEnabled());
    EXPECT_TRUE(w->NoListYet);
    EXPECT_EQ(w->rows().count(), 0);
    EXPECT_EQ(panel1(*w), "Welcome to Tessaryn Mosaic Explorer");
    EXPECT_EQ(w->DefaultStatus, "Welcome to Tessaryn Mosaic Explorer");
    EXPECT_TRUE(w->Check1->isChecked());
    EXPECT_TRUE(w->Check2->isChecked());
    EXPECT_EQ(w->windowTitle(), "Tessaryn Mosaic Explorer");
    EXPECT_EQ(state.CSSSize, 60);
    EXPECT_EQ(state.CSSUnit, "%");
    EXPECT_EQ(dialogs.msgBoxes().size(), 0u);
}

TEST_F(StartAndShutDown, CommandLineDirectoryIsAddedAndScannedOnlyWithoutRememberedOnes) {
    writePage("Image1.html", "One");
    const std::string other = root.path() + "/Other/";
    std::filesystem::create_directories(other);
    writePage("Image2.html", "Two", 0, 0, other);
    const std::string otherWithoutSlash = other.substr(0, other.size() - 1);

    struct Case {
        const char* what;
        std::string remembered;  // "" for nothing stored
        std::string commandLine;
        std::vector<std::string> entries;
        std::vector<std::string> titles;
    };
    const std::vector<Case> cases = {
        {"first start", "", "  " + otherWithoutSlash + "  ", {other}, {"Two"}},
        {"only the placeholder stored", frmMain::kPlaceholder, otherWithoutSlash, {other}, {"Two"}},
        {"remembered wins", pages, other, {pages}, {"One"}},
        {"missing directory ignored", "", root.path() + "/nowhere", {frmMain::kPlaceholder}, {}},
        {"no argument", pages, "", {pages}, {"One"}},
    };
    for (const Case& c : cases) {
        settings.remove("Tessaryn32\\Explorer", "MRU");
        if (!c.remembered.empty())
            rememberDirs(c.remembered);
        auto w = openMain(c.commandLine);
        std::vector<std::string> entries;
        for (int i = 0; i < w->Combo1->count(); ++i)
            entries.push_back(w->Combo1->itemText(i).toStdString());
        EXPECT_EQ(entries, c.entries) << c.what;
        EXPECT_EQ(column(*w, 0), c.titles) << c.what;
        EXPECT_EQ(w->NoListYet, c.titles.empty()) << c.what;
    }
}

TEST_F(StartAndShutDown, ShutDownStoresTheSettingsTable) {
    writePage("Image1.html", "One");
    rememberDirs(pages + "," + root.path() + "/Other/");
    auto w = openMain();
    w->ListView1_ColumnClick(3);
    w->ListView1_ColumnClick(3);
    w->Check1->setChecked(false);
    w->Check2->setChecked(false);
    w->ListView1->horizontalHeader()->moveSection(0, 5);
    w->close();
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(stored("SortKey"), "2");
    EXPECT_EQ(stored("SortOrder"), "1");
    EXPECT_EQ(stored("AutoColumn"), "0");
    EXPECT_EQ(stored("ShowGrid"), "0");
    const std::vector<std::string> positions = {"6", "1", "2", "3", "4", "5"};
    for (int i = 1; i <= 6; ++i)
        EXPECT_EQ(stored("Column" + std::to_string(i) + "Order"), positions[i - 1]) << i;
    EXPECT_EQ(settings.get("Tessaryn32\\Explorer", "MRU", "DirList"),
              pages + "," + root.path() + "/Other/");
}

TEST_F(StartAndShutDown, ThePlaceholderIsStoredLikeAnyEntry) {
    auto w = openMain();
    w->close();
    EXPECT_EQ(settings.get("Tessaryn32\\Explorer", "MRU", "DirList"), frmMain::kPlaceholder);
}

TEST_F(StartAndShutDown, StoredCheckStatesApplyAtTheFirstResize) {
    struct Case {
        const char* autoColumn;
        const char* showGrid;
        bool check1;
        bool check2;
    };
    const Case cases[] = {
        {"0", "0", false, false},
        {"1", "0", true, false},
        {"5", "1", true, true},
        // A value that is no number ends the step: the boxes not set yet keep their state.
        {"x", "0", true, true},
        {"0", "y", false, true},
    };
    for (const Case& c : cases) {
        settings.save("Tessaryn32", "Explorer", "AutoColumn", c.autoColumn);
        settings.save("Tessaryn32", "Explorer", "ShowGrid", c.showGrid);
        auto w = openMain();
        w->show();
        QCoreApplication::processEvents();
        EXPECT_TRUE(w->ChecksLoaded);
        EXPECT_EQ(w->Check1->isChecked(), c.check1) << c.autoColumn << c.showGrid;
        EXPECT_EQ(w->Check2->isChecked(), c.check2) << c.autoColumn << c.showGrid;
        EXPECT_EQ(w->ListView1->showGrid(), c.check2) << c.autoColumn << c.showGrid;
    }
}

TEST_F(StartAndShutDown, StoredSortAndColumnOrderAreRestored) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> stored;
        int key;
        int order;
        std::vector<int> visual;  // display position of columns 1..6
    };
    const std::vector<Case> cases = {
        {"nothing stored", {}, 0, 0, {0, 1, 2, 3, 4, 5}},
        {"sort and order",
         {{"SortKey", "4"}, {"SortOrder", "1"}, {"Column1Order", "2"}, {"Column2Order", "1"}},
         4,
         1,
         {1, 0, 2, 3, 4, 5}},
        {"a letter for the order",
         {{"SortKey", "3"}, {"SortOrder", "a"}},
         0,
         0,
         {0, 1, 2, 3, 4, 5}},
        {"a key the list lacks", {{"SortKey", "9"}, {"SortOrder", "1"}}, 0, 0, {0, 1, 2, 3, 4, 5}},
        {"a position the list lacks",
         {{"Column1Order", "2"}, {"Column2Order", "1"}, {"Column3Order", "9"}},
         0,
         0,
         {0, 1, 2, 3, 4, 5}},
    };
    for (const Case& c : cases) {
        settings.remove("Tessaryn32", "Explorer");
        for (const auto& [key, value] : c.stored)
            settings.save("Tessaryn32", "Explorer", key, value);
        auto w = openMain();
        EXPECT_EQ(w->sortKey(), c.key) << c.what;
        EXPECT_EQ(w->sortOrder(), c.order) << c.what;
        std::vector<int> visual;
        for (int i = 0; i < 6; ++i)
            visual.push_back(w->ListView1->horizontalHeader()->visualIndex(i));
        EXPECT_EQ(visual, c.visual) << c.what;
    }
}

TEST_F(StartAndShutDown, ClosingWithUnsavedRowsAsksFirst) {
    writePage("Image1.html", "One");
    // Nothing changed: no question.
    openOnPages()->close();
    EXPECT_EQ(programEnds, 1);
    EXPECT_TRUE(dialogs.msgBoxes().empty());

    auto w = openOnPages();
    onModal = [](QDialog& d) {
        d.findChild<QLineEdit*>("Text1")->setText("Changed");
        d.findChild<QPushButton*>("Command1")->click();
    };
    w->Command4_Click();
    ASSERT_TRUE(w->rows().at(0).row.changed());

    // No keeps the window and its rows, and stores nothing yet.
    settings.remove("Tessaryn32", "Explorer", "SortKey");
    dialogs.answerMsgBox(mb::No);
    EXPECT_FALSE(w->close());
    EXPECT_EQ(programEnds, 1);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Are you sure?");
    EXPECT_EQ(dialogs.msgBoxes()[0].style, mb::YesNo | mb::Question | mb::DefaultButton2);
    EXPECT_EQ(w->rows().count(), 1);
    EXPECT_EQ(stored("SortKey"), "<none>");

    dialogs.answerMsgBox(mb::Yes);
    EXPECT_TRUE(w->close());
    EXPECT_EQ(programEnds, 2);
    EXPECT_EQ(stored("SortKey"), "0");
}

}  // namespace
}  // namespace tess::explorer
