#include <QHeaderView>
#include <QMouseEvent>
#include <chrono>
#include <thread>

#include "ExplorerFixture.h"

namespace tess::explorer {
namespace {

class List : public ExplorerFixture {
  protected:
    // A page of about `kilobytes` KB: the engine's page padded at its end.
    void writeSized(const std::string& name, const std::string& title, int kilobytes, Colour colour,
                    int fontSize) {
        const std::string path = writePage(name, title, fontSize, colour);
        std::string text = testing::readFileContents(path);
        text.resize(static_cast<std::size_t>(kilobytes) * 1024, ' ');
        testing::writeFileContents(path, text);
    }
    // The pointer over cell (row, column) of the list, in the viewport's coordinates.
    static QPoint cell(const frmMain& w, int row, int column) {
        return w.ListView1->visualRect(w.rows().index(row, column)).center();
    }
};

TEST_F(List, EveryColumnSortsBothWaysAndSizesByTheirNumbers) {
    // Written in this order, so their creation times run c, a, b; the dates are kept to the
    // file system's clock tick (a few milliseconds), and the list shows them to the minute.
    writeSized("c.html", "cherry", 10, rgb(0, 0, 0x30), 2);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    writeSized("a.html", "apple", 9, rgb(0, 0, 0x10), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    writeSized("b.html", "Banana", 100, rgb(0, 0, 0x20), 1);
    auto w = openOnPages();
    w->show();
    QCoreApplication::processEvents();
    ASSERT_EQ(column(*w, 2), (std::vector<std::string>{"9.00K", "100.00K", "10.00K"}));

    struct Case {
        int header;
        std::vector<std::string> ascending;  // file names
    };
    const Case cases[] = {
        {1, {"a.html", "b.html", "c.html"}},  // titles without regard to case
        {2, {"a.html", "b.html", "c.html"}},
        {3, {"a.html", "c.html", "b.html"}},  // 9 KB, 10 KB, 100 KB
        {4, {"a.html", "b.html", "c.html"}},  // "-1", "-2", "CSS - 60%"
        {5, {"a.html", "b.html", "c.html"}},
        {6, {"c.html", "a.html", "b.html"}},  // by the creation times
    };
    for (const Case& c : cases) {
        w->ListView1_ColumnClick(c.header);
        if (w->sortOrder() == 1)
            w->ListView1_ColumnClick(c.header);
        EXPECT_EQ(w->sortKey(), c.header - 1);
        EXPECT_EQ(column(*w, 1), c.ascending) << "column " << c.header;
        w->ListView1_ColumnClick(c.header);
        EXPECT_EQ(w->sortOrder(), 1);
        std::vector<std::string> descending(c.ascending.rbegin(), c.ascending.rend());
        EXPECT_EQ(column(*w, 1), descending) << "column " << c.header;
        // The texts read as before.
        for (const std::string& size : column(*w, 2))
            EXPECT_EQ(size.back(), 'K');
    }
    // Another column keeps the order: descending stays descending.
    w->ListView1_ColumnClick(2);
    EXPECT_EQ(w->sortKey(), 1);
    EXPECT_EQ(w->sortOrder(), 1);
    EXPECT_EQ(column(*w, 1), (std::vector<std::string>{"c.html", "b.html", "a.html"}));
    // The header shows the sort too.
    EXPECT_EQ(w->ListView1->horizontalHeader()->sortIndicatorSection(), 1);
    EXPECT_EQ(w->ListView1->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(List, AHeaderClickSortsAnEmptyListToo) {
    auto w = openMain();
    w->ListView1_ColumnClick(1);
    EXPECT_EQ(w->sortOrder(), 1);
    w->ListView1_ColumnClick(4);
    EXPECT_EQ(w->sortKey(), 3);
    EXPECT_EQ(w->sortOrder(), 1);
}

TEST_F(List, TheSelectionKeepsItsRowThroughASort) {
    writePage("a.html", "A");
    writePage("b.html", "B");
    auto w = openOnPages();
    w->selectRow(1);
    w->ListView1_ColumnClick(1);
    EXPECT_EQ(w->rows().at(w->selectedRow()).row.fileName, "b.html");
}

TEST_F(List, HoverTextsFollowTheColumnAndShowTheColourSwatch) {
    writePage("a.html", "A", 0, rgb(0xFF, 0x80, 0x00));
    writePage("b.html", "B", 0, rgb(0xFF, 0x80, 0x00));
    writePage("c.html", "C", 0, rgb(0x00, 0x00, 0xFF));
    auto w = openOnPages();
    w->show();
    QCoreApplication::processEvents();

    struct Case {
        int column;
        const char* status;
        bool swatch;
    };
    const Case cases[] = {
        {0, "Double click to change title.", false},
        {1, "Double click to preview selected item in browser..", false},
        {2, "Finished Processing", false},
        {3, "Double click to change font size.", false},
        {4, "Double click to change background color.", true},
        {5, "Finished Processing", false},
    };
    for (const Case& c : cases) {
        const QPoint p = cell(*w, 0, c.column);
        w->ListView1_MouseMove(p.x(), p.y());
        EXPECT_EQ(panel1(*w), c.status) << c.column;
        EXPECT_EQ(w->Panel2->isVisibleTo(w.get()), c.swatch) << c.column;
        EXPECT_EQ(w->ShownColor.has_value(), c.swatch) << c.column;
    }
    QPoint p = cell(*w, 0, 4);
    w->ListView1_MouseMove(p.x(), p.y());
    EXPECT_EQ(w->ShownColor.value_or(""), "FF8000");
    const qint64 drawn = w->Panel2->pixmap().cacheKey();
    // The same colour on the next row keeps the swatch; another colour redraws it.
    p = cell(*w, 1, 4);
    w->ListView1_MouseMove(p.x(), p.y());
    EXPECT_EQ(w->Panel2->pixmap().cacheKey(), drawn);
    p = cell(*w, 2, 4);
    w->ListView1_MouseMove(p.x(), p.y());
    EXPECT_EQ(w->ShownColor.value_or(""), "0000FF");
    EXPECT_NE(w->Panel2->pixmap().cacheKey(), drawn);
    const QImage swatch = w->Panel2->pixmap().toImage();
    EXPECT_EQ(swatch.pixelColor(swatch.width() - 5, swatch.height() / 2), QColor(0, 0, 255));

    // Below the last row the resting text comes back.
    w->ListView1_MouseMove(5, w->ListView1->viewport()->height() - 2);
    EXPECT_EQ(panel1(*w), "Finished Processing");
    EXPECT_FALSE(w->ShownColor.has_value());
}

TEST_F(List, ControlsShowTheirTipsAndTheRestShowTheRestingText) {
    auto w = openMain();
    w->controlMouseMove(w->Check1);
    EXPECT_EQ(panel1(*w), "Toggle automatic resizing of list headers.");
    w->controlMouseMove(w->Command6);
    EXPECT_EQ(panel1(*w), "Save all changed items.");
    // The pointer over the strip puts the resting text back.
    QMouseEvent move(QEvent::MouseMove, QPointF(300, 30), QPointF(300, 30), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w->Picture2, &move);
    EXPECT_EQ(panel1(*w), "Welcome to Tessaryn Mosaic Explorer");
    // The delete button has no hover text: the tip before stays.
    w->controlMouseMove(w->Command8);
    QCoreApplication::sendEvent(w->Command9, &move);
    EXPECT_EQ(panel1(*w), "Preview selected item in browser.");
}

TEST_F(List, DoubleClickStartsTheEditOfItsColumn) {
    writePage("a.html", "A");
    auto w = openOnPages();
    w->show();
    QCoreApplication::processEvents();
    struct Case {
        int column;
        int modals;   // title and font-size dialogs
        int colours;  // colour dialogs
        int opened;   // pages opened in the browser
    };
    const Case cases[] = {
        {0, 1, 0, 0}, {1, 0, 0, 1}, {2, 0, 0, 0}, {3, 1, 0, 0}, {4, 0, 1, 0}, {5, 0, 0, 0},
    };
    for (const Case& c : cases) {
        modalCount = 0;
        dialogs.clearRecord();
        const std::size_t opened = shell.opened().size();
        const QPoint p = cell(*w, 0, c.column);
        w->ListView1_MouseMove(p.x(), p.y());
        w->ListView1_DblClick();
        EXPECT_EQ(modalCount, c.modals) << c.column;
        EXPECT_EQ(dialogs.colours().size(), static_cast<std::size_t>(c.colours)) << c.column;
        EXPECT_EQ(shell.opened().size() - opened, static_cast<std::size_t>(c.opened)) << c.column;
    }
    // Below the last row nothing starts.
    modalCount = 0;
    w->ListView1_MouseMove(5, w->ListView1->viewport()->height() - 2);
    w->ListView1_DblClick();
    EXPECT_EQ(modalCount, 0);
}

TEST_F(List, SelectingARowSetsTheButtonsForIt) {
    writePage("a.html", "A");
    writePage("b.html", "B");
    auto w = openOnPages();
    onModal = [](QDialog& d) {
        d.findChild<QLineEdit*>("Text1")->setText("Changed");
        d.findChild<QPushButton*>("Command1")->click();
    };
    w->Command4_Click();  // row 0 now waits for a save

    w->selectRow(1);
    w->ListView1_ItemClick();
    EXPECT_EQ(editButtons(*w), "1111011");  // save all for row 0, nothing to save here
    w->selectRow(0);
    w->ListView1_ItemClick();
    EXPECT_EQ(editButtons(*w), "1111111");

    // A page deleted outside the explorer disables every row action, save all too.
    std::filesystem::remove(pages + "b.html");
    w->selectRow(1);
    w->ListView1_ItemClick();
    EXPECT_EQ(editButtons(*w), "0000000");
    EXPECT_EQ(w->rows().count(), 2);

    // CheckUpdate looks at the whole list.
    w->CheckUpdate();
    EXPECT_TRUE(w->Command6->isEnabled());
}

TEST_F(List, GridLinesFollowTheirBox) {
    auto w = openMain();
    w->Check2->setChecked(false);
    EXPECT_FALSE(w->ListView1->showGrid());
    w->Check2->setChecked(true);
    EXPECT_TRUE(w->ListView1->showGrid());
}

}  // namespace
}  // namespace tess::explorer
