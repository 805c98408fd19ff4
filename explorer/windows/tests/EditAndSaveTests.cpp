#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <QComboBox>
#include <QRadioButton>
#include <QScrollBar>
#include <ctime>

#include "ExplorerFixture.h"
#include "explorer/PageFile.h"
#include "windows/frmFont.h"
#include "windows/frmTitle.h"

namespace tess::explorer {
namespace {

class EditAndSave : public ExplorerFixture {
  protected:
    // The title dialog answered with `title` and OK.
    void typeTitle(const std::string& title) {
        onModal = [title](QDialog& d) {
            auto& dialog = dynamic_cast<frmTitle&>(d);
            dialog.Text1->setText(QString::fromStdString(title));
            dialog.Command1->click();
        };
    }
    // The font-size dialog answered with list entry `index` and OK.
    void chooseSize(int index) {
        onModal = [index](QDialog& d) {
            auto& dialog = dynamic_cast<frmFont&>(d);
            dialog.Combo1->setCurrentIndex(index);
            dialog.Combo1_Click();
            dialog.Command1->click();
        };
    }
    std::string page(const std::string& name) const {
        return testing::readFileContents(pages + name);
    }
};

TEST_F(EditAndSave, EachEditorChangesOnlyTheSelectedRowAndMarksIt) {
    writePage("a.html", "Ay");
    writePage("b.html", "Bee");
    auto w = openOnPages();
    w->selectRow(1);
    const std::string before = page("b.html");

    typeTitle("New Bee");
    w->Command4_Click();
    EXPECT_EQ(column(*w, 0), (std::vector<std::string>{"Ay", "New Bee"}));

    dialogs.answerColour(rgb(0x1A, 0x2B, 0x3C));
    w->Command3_Click();
    ASSERT_EQ(dialogs.colours().size(), 1u);
    EXPECT_EQ(dialogs.colours()[0].initial, 0);  // the row showed #000000
    EXPECT_EQ(dialogs.colours()[0].flags, 1);
    EXPECT_EQ(column(*w, 4), (std::vector<std::string>{"#000000", "#1A2B3C"}));

    chooseSize(4);
    w->Command5_Click();
    EXPECT_EQ(column(*w, 3), (std::vector<std::string>{"-1", "CSS - 40%"}));

    EXPECT_EQ(w->rows().at(0).row.tag, "load");
    EXPECT_EQ(w->rows().at(1).row.tag, "update");
    EXPECT_EQ(w->rows().at(1).row.icon, 2);
    EXPECT_EQ(editButtons(*w), "1111111");
    // Nothing reaches the file before a save.
    EXPECT_EQ(page("b.html"), before);
}

TEST_F(EditAndSave, CancelledEditorsChangeNothing) {
    writePage("a.html", "Ay");
    auto w = openOnPages();
    onModal = [](QDialog& d) { d.reject(); };
    w->Command4_Click();
    w->Command5_Click();
    dialogs.cancelColour();
    w->Command3_Click();
    // The colour the row already shows marks nothing either.
    dialogs.answerColour(0);
    w->Command3_Click();
    EXPECT_EQ(modalCount, 2);
    EXPECT_FALSE(w->rows().at(0).row.changed());
    EXPECT_EQ(editButtons(*w), "1110011");
}

TEST_F(EditAndSave, TheColourDialogOpensAtTheRowsColourOrItsLastOne) {
    writePage("a.html", "Ay", 0, rgb(0xFF, 0x88, 0x00));
    auto w = openOnPages();
    // A page whose colour is written in small letters.
    std::string text = page("a.html");
    const std::size_t at = text.find("#FF8800");
    ASSERT_NE(at, std::string::npos);
    text.replace(at, 7, "#ff8800");
    testing::writeFileContents(pages + "a.html", text);
    w->Command2_Click();
    ASSERT_EQ(column(*w, 4), std::vector<std::string>{"#ff8800"});

    // Confirming the same colour writes it in capitals, which differs from the row's text.
    dialogs.answerColour(rgb(0xFF, 0x88, 0x00));
    w->Command3_Click();
    EXPECT_EQ(dialogs.colours()[0].initial, rgb(0xFF, 0x88, 0x00));
    EXPECT_EQ(column(*w, 4), std::vector<std::string>{"#FF8800"});
    EXPECT_TRUE(w->rows().at(0).row.changed());

    // A row without a readable colour opens the dialog at the last colour chosen.
    ListRow unknown = w->rows().at(0);
    unknown.row.bgColor = "Unknown";
    w->rows().update(0, unknown);
    dialogs.answerColour(rgb(5, 160, 0));
    w->Command3_Click();
    EXPECT_EQ(dialogs.colours()[1].initial, rgb(0xFF, 0x88, 0x00));
    EXPECT_EQ(column(*w, 4), std::vector<std::string>{"#05A000"});
}

TEST_F(EditAndSave, SaveAllWritesTheChangedPagesAndNamesVanishedOnes) {
    writePage("a.html", "Ay");
    writePage("b.html", "Bee");
    writePage("c.html", "Cee");
    auto w = openOnPages();
    const std::string untouched = page("c.html");
    typeTitle("First");
    w->selectRow(0);
    w->Command4_Click();
    w->selectRow(1);
    w->Command4_Click();
    std::filesystem::remove(pages + "b.html");

    dialogs.answerMsgBox(mb::OK);
    w->Command6_Click();
    const std::string gone = "b.html (it was deleted or moved after the scan)";
    EXPECT_EQ(panel1(*w),
              "Finished Saving... (Saved 1 Files); 1 Change Could Not Be Saved: " + gone);
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_NE(dialogs.msgBoxes()[0].prompt.find(
                  "\"b.html\" was not saved: it was deleted or moved after the scan"),
              std::string::npos);
    EXPECT_NE(page("a.html").find("<title>First</title>"), std::string::npos);
    EXPECT_EQ(page("c.html"), untouched);
    EXPECT_EQ(w->rows().at(0).row.tag, "load");
    EXPECT_EQ(w->rows().at(0).row.icon, 1);
    EXPECT_EQ(w->rows().at(1).row.tag, "update");
    EXPECT_FALSE(w->Command6->isEnabled());
    EXPECT_FALSE(w->Command7->isEnabled());

    // A second save writes nothing more and names the vanished page again.
    const std::string a = page("a.html");
    dialogs.answerMsgBox(mb::OK);
    w->Command6_Click();
    EXPECT_EQ(panel1(*w), "1 Change Could Not Be Saved: " + gone);
    EXPECT_EQ(page("a.html"), a);

    // The page reads back as saved; the vanished page's edit is given up.
    dialogs.answerMsgBox(mb::Yes);
    w->Command2_Click();
    EXPECT_EQ(column(*w, 0), (std::vector<std::string>{"Cee", "First"}));
}

TEST_F(EditAndSave, SaveSelectedWritesOnlyTheSelectedRow) {
    writePage("a.html", "Ay");
    writePage("b.html", "Bee");
    auto w = openOnPages();
    typeTitle("Changed");
    w->selectRow(0);
    w->Command4_Click();
    w->selectRow(1);
    w->Command4_Click();
    const std::string a = page("a.html");

    w->Command7_Click();
    EXPECT_EQ(panel1(*w), "Finished Saving... (Saved 1 Files)");
    EXPECT_EQ(page("a.html"), a);
    EXPECT_NE(page("b.html").find("<title>Changed</title>"), std::string::npos);
    EXPECT_FALSE(w->Command7->isEnabled());
    // Row 1 still waits, so save all stays usable.
    EXPECT_TRUE(w->Command6->isEnabled());

    // A selected row without changes writes nothing.
    w->Command7_Click();
    EXPECT_EQ(panel1(*w), "No Files To Save!");

    // A selected row whose page went away is named, not left at its "Saving" text.
    w->selectRow(0);
    w->Command7->setEnabled(true);
    std::filesystem::remove(pages + "a.html");
    dialogs.answerMsgBox(mb::OK);
    w->Command7_Click();
    EXPECT_EQ(panel1(*w),
              "1 Change Could Not Be Saved: a.html (it was deleted or moved after the scan)");
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error Saving Mosaic");
    EXPECT_FALSE(w->Command7->isEnabled());
    EXPECT_TRUE(w->rows().at(0).row.changed());
}

TEST_F(EditAndSave, APageNoLongerTheScannedOneIsLeftAloneAndNamed) {
    const std::string elsewhere = root.path() + "/elsewhere.html";
    struct Case {
        const char* what;
        std::function<void(const std::string& path)> change;  // between the scan and the save
        const char* why;
    };
    const Case cases[] = {
        {"an ordinary page in its place",
         [](const std::string& path) {
             std::filesystem::remove(path);
             testing::writeFileContents(path, "<html><title>Mine</title></html>");
         },
         "it is no longer a mosaic page (it has no generator line)"},
        {"another mosaic in its place",
         [this](const std::string& path) {
             std::filesystem::rename(writePage("other.html", "Other"), path);
         },
         "another file took its place after the scan"},
        {"a link to a page elsewhere",
         [&](const std::string& path) {
             std::filesystem::rename(path, elsewhere);
             std::filesystem::create_symlink(elsewhere, path);
         },
         "it is now a symbolic link to another file"},
        {"written to in place",
         [](const std::string& path) {
             const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
             ASSERT_GE(fd, 0);
             ASSERT_EQ(::write(fd, "\r\n", 2), 2);
             ::close(fd);
         },
         "another program changed it after the scan"},
        {"a folder in its place",
         [](const std::string& path) {
             std::filesystem::remove(path);
             std::filesystem::create_directory(path);
         },
         "it is no longer a regular file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove_all(pages);
        std::filesystem::remove(elsewhere);
        std::filesystem::create_directories(pages);
        const std::string path = writePage("a.html", "Ay");
        auto w = openOnPages();
        typeTitle("New");
        w->Command4_Click();
        c.change(path);
        const bool folder = std::filesystem::is_directory(path);
        const std::string before = folder ? std::string() : page("a.html");

        dialogs.clearRecord();
        dialogs.answerMsgBox(mb::OK);
        w->Command7_Click();
        EXPECT_EQ(panel1(*w), "1 Change Could Not Be Saved: a.html (" + std::string(c.why) + ")");
        ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
        EXPECT_NE(
            dialogs.msgBoxes()[0].prompt.find("\"a.html\" was not saved: " + std::string(c.why)),
            std::string::npos);
        EXPECT_TRUE(w->rows().at(0).row.changed());
        EXPECT_EQ(w->rows().at(0).row.icon, 2);
        // Nothing was written: not the file at the name, not a file a link leads to.
        EXPECT_EQ(folder ? std::string() : page("a.html"), before);
        EXPECT_EQ(std::filesystem::is_symlink(path), std::filesystem::exists(elsewhere));
    }
}

TEST_F(EditAndSave, ASavedPageKeepsTheDateItWasListedWith) {
    const std::string path = writePage("a.html", "Ay");
    // A date that an earlier save kept: 12-31-04 in the afternoon, local time.
    std::tm local{};
    local.tm_year = 104;
    local.tm_mon = 11;
    local.tm_mday = 31;
    local.tm_hour = 14;
    local.tm_min = 30;
    local.tm_isdst = -1;
    const std::string kept = std::to_string(::mktime(&local)) + ".000000000";
    if (::setxattr(path.c_str(), PageFile::kCreatedAttribute, kept.data(), kept.size(), 0) != 0)
        GTEST_SKIP() << "this file system keeps no user attributes";
    auto w = openOnPages();
    ASSERT_EQ(column(*w, 5), std::vector<std::string>{"12-31-04 02:30 PM"});
    typeTitle("New");
    w->Command4_Click();
    w->Command7_Click();
    ASSERT_EQ(panel1(*w), "Finished Saving... (Saved 1 Files)");
    EXPECT_EQ(column(*w, 5), std::vector<std::string>{"12-31-04 02:30 PM"});
    // The saved page is a new file, and a new scan lists it with the same date.
    w->Command2_Click();
    EXPECT_EQ(column(*w, 0), std::vector<std::string>{"New"});
    EXPECT_EQ(column(*w, 5), std::vector<std::string>{"12-31-04 02:30 PM"});
}

TEST_F(EditAndSave, AnEditThePageCannotTakeKeepsTheRowMarkedAndSaysSo) {
    writePage("a.html", "Ay");
    std::string text = page("a.html");
    const std::size_t open = text.find("<title>");
    const std::size_t close = text.find("</title>");
    ASSERT_NE(close, std::string::npos);
    text.replace(close, 8, "</TITLE>");
    text.replace(open, 7, "<TITLE>");
    testing::writeFileContents(pages + "a.html", text);
    auto w = openOnPages();
    ASSERT_EQ(column(*w, 0), std::vector<std::string>{"Ay"});

    typeTitle("Bee");
    w->Command4_Click();
    dialogs.answerMsgBox(mb::OK);
    w->Command6_Click();
    EXPECT_EQ(page("a.html").find("Bee"), std::string::npos);
    EXPECT_TRUE(w->rows().at(0).row.changed());
    EXPECT_EQ(panel1(*w), "1 Change Could Not Be Saved: a.html");
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Error Saving Mosaic");
    EXPECT_NE(dialogs.msgBoxes()[0].prompt.find("\"a.html\" kept its Mosaic Title"),
              std::string::npos);
}

TEST_F(EditAndSave, FontSizeSwitchesBetweenTheTwoFormsAndBack) {
    writePage("a.html", "Ay", 0);
    auto w = openOnPages();
    chooseSize(2);
    w->Command5_Click();
    w->Command7_Click();
    EXPECT_NE(page("a.html").find("<nofont size=\"-1\">"), std::string::npos);
    EXPECT_NE(page("a.html").find("  pre { font-size: 60% }"), std::string::npos);

    chooseSize(0);
    w->Command5_Click();
    w->Command7_Click();
    w->Command2_Click();
    EXPECT_EQ(column(*w, 3), std::vector<std::string>{"-1"});
}

}  // namespace
}  // namespace tess::explorer
