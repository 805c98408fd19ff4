#include "ExplorerFixture.h"

#include <QStatusBar>

namespace tess::explorer {
namespace {

using Scan = ExplorerFixture;

TEST_F(Scan, ListsThePagesAndSkipsOtherFiles) {
    writePage("b.html", "Bee & Co", 1, rgb(5, 160, 0));
    writePage("a.htm", "Ay", 2);
    testing::writeFileContents(pages + "c.html", "<html><title>Not a mosaic</title></html>");
    testing::writeFileContents(pages + "d.txt", "text");
    writePage("e.HTML", "Ee", 8);
    auto w = openOnPages();

    EXPECT_EQ(column(*w, 0), (std::vector<std::string>{"Ay", "Bee & Co", "Ee"}));
    EXPECT_EQ(column(*w, 1), (std::vector<std::string>{"a.htm", "b.html", "e.HTML"}));
    EXPECT_EQ(column(*w, 3), (std::vector<std::string>{"CSS - 60%", "-2", "CSS - 60%"}));
    EXPECT_EQ(column(*w, 4), (std::vector<std::string>{"#000000", "#05A000", "#000000"}));
    for (const std::string& size : column(*w, 2)) {
        EXPECT_EQ(size.back(), 'K') << size;
        EXPECT_NE(size.substr(0, 2), "00") << size;  // the display form, not the padded one
    }
    for (int r = 0; r < w->rows().count(); ++r) {
        EXPECT_EQ(w->rows().at(r).directory, pages);
        EXPECT_EQ(w->rows().at(r).row.tag, "load");
        EXPECT_EQ(w->rows().at(r).row.icon, 1);
        EXPECT_EQ(w->rows().at(r).row.createdOn.size(), std::string("10-12-05 02:30 PM").size());
    }
    // Four "*.htm*" files, one turn of the event loop after each.
    EXPECT_EQ(pump.doEventsCount(), 4);
    EXPECT_EQ(panel1(*w), "Finished Processing");
    EXPECT_EQ(w->DefaultStatus, "Finished Processing");
    EXPECT_FALSE(w->NoListYet);
    EXPECT_EQ(w->ListedDirIndex, "0");
    EXPECT_EQ(w->Command2->text(), "Process");
    EXPECT_TRUE(w->Command2->isEnabled());
    EXPECT_TRUE(w->Combo1->isEnabled());
    EXPECT_TRUE(w->Command1->isEnabled());
    // Title, colour, font size, preview and delete; nothing to save yet.
    EXPECT_EQ(editButtons(*w), "1110011");
    EXPECT_EQ(w->selectedRow(), 0);
    EXPECT_FALSE(w->PicHide->isVisibleTo(w.get()));
    EXPECT_TRUE(w->ListView1->isEnabled());
}

TEST_F(Scan, StatusCountsEveryFileAndTheListIsCoveredWhileItRuns) {
    for (int i = 1; i <= 10; ++i) {
        const std::string name = "f" + std::to_string(i - 1) + ".html";
        if (i == 5 || i == 9)
            writePage(name, "T" + std::to_string(i));
        else
            testing::writeFileContents(pages + name, "<html></html>");
    }
    rememberDirs(pages);
    auto w = std::make_unique<frmMain>(services, state, "");
    std::vector<std::string> texts;
    pump.setOnDoEvents([&] {
        frmMain& f = *w;
        texts.push_back(panel1(f));
        EXPECT_TRUE(f.PicHide->isVisibleTo(&f));
        EXPECT_FALSE(f.ListView1->isVisibleTo(&f));
        EXPECT_FALSE(f.Combo1->isEnabled());
        EXPECT_FALSE(f.Command1->isEnabled());
        EXPECT_EQ(editButtons(f), "0000000");
        EXPECT_EQ(f.Command2->text(), "Cancel");
    });
    w->Form_Load();
    ASSERT_EQ(texts.size(), 10u);
    EXPECT_EQ(texts[4], "Processing file 5 of 10 (f4.html)");
    EXPECT_EQ(texts[9], "Processing file 9 of 10 (f8.html)");
    EXPECT_EQ(column(*w, 0), (std::vector<std::string>{"T5", "T9"}));
}

TEST_F(Scan, CancelAfterTheThirdMosaicKeepsThreeRows) {
    for (int i = 0; i < 6; ++i)
        writePage("p" + std::to_string(i) + ".html", "P" + std::to_string(i));
    auto w = openMain();
    w->AddDirs(pages);
    pump.setOnDoEvents([&] {
        if (pump.doEventsCount() == 3)
            w->Command2_Click();
        if (pump.doEventsCount() == 3) {
            EXPECT_EQ(w->Command2->text(), "Process");
            EXPECT_FALSE(w->Command2->isEnabled());
        }
    });
    w->Command2_Click();
    EXPECT_EQ(column(*w, 0), (std::vector<std::string>{"P0", "P1", "P2"}));
    EXPECT_EQ(panel1(*w), "Processing Has Been Canceled");
    EXPECT_EQ(w->Command2->text(), "Process");
    EXPECT_TRUE(w->Command2->isEnabled());
    for (const std::string& size : column(*w, 2))
        EXPECT_EQ(size.back(), 'K');
}

// The bar shows a new text at the first page and then once every 20 milliseconds; the status
// panel keeps its place in the bar, also when the window is resized, and is free again afterwards.
TEST_F(Scan, TheStatusBarPaintsNowAndThenAndThePanelFollowsTheWindow) {
    for (int i = 0; i < 7; ++i)
        writePage("p" + std::to_string(i) + ".html", "P");
    auto w = openMain();
    w->AddDirs(pages);
    w->show();
    QCoreApplication::processEvents();
    const int panelWidth = w->Panel1->width();
    std::string painted;
    int widthAfterResize = 0;
    pump.setOnDoEvents([&] {
        painted += w->StatusBar1->updatesEnabled() ? '1' : '0';
        clock.advance(7);
        if (pump.doEventsCount() == 5) {
            w->resize(w->width() + 100, w->height());
            QCoreApplication::processEvents();
            widthAfterResize = w->Panel1->width();
        }
    });
    w->Command2_Click();
    EXPECT_EQ(painted, "1001001");
    EXPECT_EQ(widthAfterResize, panelWidth + 100);
    EXPECT_TRUE(w->StatusBar1->updatesEnabled());
    EXPECT_EQ(w->Panel1->minimumSize(), QSize(96, 0));
    EXPECT_EQ(w->Panel1->maximumSize(), QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
    QCoreApplication::processEvents();
    EXPECT_EQ(w->Panel1->width(), panelWidth + 100);
    EXPECT_EQ(panel1(*w), "Finished Processing");
}

TEST_F(Scan, ADirectoryWithoutMosaicsLeavesAnEmptyList) {
    testing::writeFileContents(pages + "x.html", "<html></html>");
    auto w = openOnPages();
    EXPECT_EQ(w->rows().count(), 0);
    EXPECT_EQ(panel1(*w), "Finished Processing");
    EXPECT_EQ(editButtons(*w), "0000000");
    EXPECT_FALSE(w->NoListYet);
}

TEST_F(Scan, AnotherScanAsksBeforeUnsavedRowsAreDropped) {
    writePage("a.html", "One");
    auto w = openOnPages();
    // Without changes the list is simply read again.
    w->Command2_Click();
    EXPECT_TRUE(dialogs.msgBoxes().empty());

    onModal = [](QDialog& d) {
        d.findChild<QLineEdit*>("Text1")->setText("Two");
        d.findChild<QPushButton*>("Command1")->click();
    };
    w->Command4_Click();
    dialogs.answerMsgBox(mb::No);
    w->Command2_Click();
    ASSERT_EQ(dialogs.msgBoxes().size(), 1u);
    EXPECT_EQ(dialogs.msgBoxes()[0].title, "Are you sure?");
    EXPECT_EQ(column(*w, 0), std::vector<std::string>{"Two"});

    dialogs.answerMsgBox(mb::Yes);
    w->Command2_Click();
    EXPECT_EQ(column(*w, 0), std::vector<std::string>{"One"});
    EXPECT_FALSE(w->rows().at(0).row.changed());
}

TEST_F(Scan, ClosingDuringAScanEndsItAndThenCloses) {
    for (int i = 0; i < 4; ++i)
        writePage("p" + std::to_string(i) + ".html", "P");
    auto w = openMain();
    w->AddDirs(pages);
    pump.setOnDoEvents([&] {
        if (pump.doEventsCount() == 2) {
            EXPECT_FALSE(w->close());
        }
    });
    w->Command2_Click();
    EXPECT_FALSE(w->scanRunning());
    EXPECT_EQ(w->rows().count(), 2);
    EXPECT_EQ(programEnds, 1);
}

}  // namespace
}  // namespace tess::explorer
