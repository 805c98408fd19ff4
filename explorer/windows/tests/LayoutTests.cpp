#include <QHeaderView>
#include <QStatusBar>
#include <algorithm>

#include "ExplorerFixture.h"
#include "platform/SystemColours.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/testing/LayoutCheck.h"
#include "windows/ExplorerArt.h"
#include "windows/frmFont.h"
#include "windows/frmTitle.h"

namespace tess::explorer {
namespace {

using qt::testing::layoutFaults;

// The window's client and the status bar's own panels are containers, not controls laid out by
// the window.
bool isControl(const QWidget* w) {
    return qt::testing::isNamedControl(w) && w->objectName() != "client";
}

bool shot(QWidget& w, const char* name) {
    return qt::testing::saveShot(w, EXPLORER_SCREENSHOT_DIR, name);
}

using Layout = ExplorerFixture;

TEST_F(Layout, DesignSizeGivesTheDesignGeometry) {
    auto w = openMain();
    w->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->centralWidget()->size(), QSize(557, 331));
    EXPECT_EQ(w->Combo1->geometry(), QRect(242, 7, 223, 21));
    EXPECT_EQ(w->Command1->x(), 469);
    EXPECT_EQ(w->Command2->x(), 496);
    EXPECT_EQ(w->ListView1->geometry(), QRect(0, 113, 557, 312 - 113));
    EXPECT_EQ(w->StatusBar1->geometry(), QRect(0, 312, 557, 19));
    EXPECT_EQ(w->Picture2->geometry(), QRect(0, 61, 557, 34));
    EXPECT_EQ(w->Check1->geometry(), QRect(557 - 144 - 2, 113 - 13 - 2, 144, 13));
    EXPECT_EQ(w->Check2->x(), w->Check1->x() - 110 - 2);
    EXPECT_FALSE(w->Label2->isVisible());
    EXPECT_EQ(w->Label2->x(), 557 - 37 - 2);
}

TEST_F(Layout, NoControlOverlapsLeavesItsContainerOrClipsItsCaption) {
    writePage("Image1.html", "A mosaic");
    auto w = openOnPages();
    w->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(*w, isControl), "");
    EXPECT_TRUE(shot(*w, "Wenderlock.png"));

    w->resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->centralWidget()->width(), 900);
    EXPECT_EQ(w->Command2->x() + w->Command2->width(), 900 - 4);
    EXPECT_EQ(w->ListView1->width(), 900);
    EXPECT_EQ(w->StatusBar1->y() + w->StatusBar1->height(), w->centralWidget()->height());
    EXPECT_EQ(layoutFaults(*w, isControl), "");
    EXPECT_TRUE(shot(*w, "Wenderlock-large.png"));

    // Smaller than its start size the window does not go.
    w->resize(300, 200);
    QCoreApplication::processEvents();
    EXPECT_GE(w->width(), w->MinWidth);
    EXPECT_GE(w->height(), w->MinHeight);
    EXPECT_EQ(layoutFaults(*w, isControl), "");
}

TEST_F(Layout, ColumnsAreSizedByTheirShareOfTheList) {
    auto w = openMain();
    w->show();
    QCoreApplication::processEvents();
    const double S = w->style()->pixelMetric(QStyle::PM_ScrollBarExtent) / 6.0;
    EXPECT_NEAR(w->ListView1->columnWidth(0), 557 / 3.8 - 2 - S, 0.5);
    EXPECT_NEAR(w->ListView1->columnWidth(5), 557 / 6.0 - 2 - S, 0.5);
    // Without the autosize the widths stay as they are.
    w->Check1->setChecked(false);
    const int before = w->ListView1->columnWidth(0);
    w->resize(900, 600);
    QCoreApplication::processEvents();
    EXPECT_EQ(w->ListView1->columnWidth(0), before);
}

TEST_F(Layout, TheBannerIsPaintedAcrossTheWholeWidth) {
    auto w = openMain();
    w->resize(900, 500);
    w->show();
    QCoreApplication::processEvents();
    w->Form_Paint();
    const Picture& s = w->client->box().surface();
    ASSERT_EQ(s.width(), 900);
    const Picture main = fromQImage(resourceBitmap("XP_MAIN"), 0);
    const Picture blue = fromQImage(resourceBitmap("XP_BLUE"), 0);
    const Picture bar = fromQImage(resourceBitmap("XP_BAR"), 0);
    EXPECT_EQ(s.pixel(100, 20), main.pixel(100, 20));
    EXPECT_EQ(s.pixel(428, 54), main.pixel(428, 54));
    EXPECT_EQ(s.pixel(899, 30), blue.pixel(4, 30));
    EXPECT_EQ(s.pixel(899, 56), bar.pixel(428, 1));
    EXPECT_FALSE(w->Image1->isVisible());
    EXPECT_FALSE(w->Image2->isVisible());
}

// The desktop shows the icon at every size it is installed in: square, with see-through corners
// and the emblem's cells kept apart by the shade even at 16 pixels.
TEST(ProgramIcon, EverySizeIsSquareSeeThroughAtTheCornersAndKeepsTheCellsApart) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = programIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size)) << size;
        EXPECT_LT(qAlpha(icon.pixel(0, 0)), 128) << size;
        EXPECT_LT(qAlpha(icon.pixel(size - 1, size - 1)), 128) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
        // The cells are bright, the shade is dark: across the middle of the icon, each way, five
        // separate runs of cell pixels.
        const auto bright = [&](int x, int y) {
            const QRgb c = icon.pixel(x, y);
            return std::max({qRed(c), qGreen(c), qBlue(c)}) > 170;
        };
        int across = 0;
        int down = 0;
        for (int i = 0; i < size; ++i) {
            across += bright(i, size / 2) && (i == 0 || !bright(i - 1, size / 2)) ? 1 : 0;
            down += bright(size / 2, i) && (i == 0 || !bright(size / 2, i - 1)) ? 1 : 0;
        }
        EXPECT_EQ(across, 5) << size;
        EXPECT_EQ(down, 5) << size;
    }
    EXPECT_TRUE(programIcon(15).isNull());
}

TEST_F(Layout, TheToolbarStripIsFramedByThreeDimensionalLines) {
    SystemColours::set(16, 0x808080);
    SystemColours::set(20, 0xFFFFFF);
    SystemColours::set(15, 0xC0C0C0);
    auto w = openMain();
    w->resize(700, 400);
    w->show();
    QCoreApplication::processEvents();
    const Picture& s = w->Picture2->box().surface();
    ASSERT_EQ(s.width(), 700);
    const int h = s.height();
    for (int x : {0, 350, 699}) {
        EXPECT_EQ(s.pixel(x, 0), 0x808080) << x;
        EXPECT_EQ(s.pixel(x, 1), 0xFFFFFF) << x;
        EXPECT_EQ(s.pixel(x, h - 2), 0x808080) << x;
        EXPECT_EQ(s.pixel(x, h - 1), 0xFFFFFF) << x;
    }
    // The separator right of the preview button, from row 2 over h - 4 rows.
    const int x = w->Command8->x() + w->Command8->width() + 6;
    EXPECT_EQ(x, 202);
    EXPECT_EQ(s.pixel(x, 2), 0x808080);
    EXPECT_EQ(s.pixel(x + 1, h - 3), 0xFFFFFF);
    EXPECT_EQ(s.pixel(x + 2, 10), 0xC0C0C0);
    SystemColours::resetToDefaults();
}

TEST_F(Layout, ToolbarButtonsShowNoFocusRectangleButProcessAndDeleteDo) {
    auto w = openMain();
    for (ToolBarButton* b : {w->Command1, w->Command3, w->Command4, w->Command5, w->Command6,
                             w->Command7, w->Command8})
        EXPECT_TRUE(b->hidesFocusRect()) << b->objectName().toStdString();
    EXPECT_FALSE(w->Command9->hidesFocusRect());
    EXPECT_EQ(w->Command2->focusPolicy(), Qt::StrongFocus);
    w->close();
    EXPECT_FALSE(w->Command8->hidesFocusRect());
}

TEST_F(Layout, ListHeadersTooWideForTheirColumnEndInDots) {
    auto w = openMain();
    w->show();
    QCoreApplication::processEvents();
    QHeaderView* header = w->ListView1->horizontalHeader();
    const QImage shot = header->grab().toImage();
    const QFontMetrics metrics(header->font());
    const auto ink = [&](int x, int y) { return qGray(shot.pixel(x, y)) < 128; };
    int cut = 0;
    for (int c = 0; c < header->count(); ++c) {
        const QString caption = w->rows().headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        const int left = header->sectionViewportPosition(c);
        const int width = header->sectionSize(c);
        if (metrics.horizontalAdvance(caption) <= width)
            continue;
        ++cut;
        // The caption's last ink is a dot, as low as the letters' foot: letters cut off at the
        // column's edge stand as high as the letters.
        int last = -1;
        for (int x = left; x < left + width; ++x) {
            for (int y = 0; y < shot.height(); ++y)
                last = ink(x, y) ? x : last;
        }
        ASSERT_GE(last, 0) << caption.toStdString();
        int top = shot.height();
        int bottom = -1;
        for (int y = 0; y < shot.height(); ++y) {
            if (ink(last, y)) {
                top = std::min(top, y);
                bottom = y;
            }
        }
        EXPECT_LE(bottom - top + 1, 2) << caption.toStdString();
    }
    // At the design width "Background Color" does not fit.
    EXPECT_GE(cut, 1);
}

TEST_F(Layout, DialogsAreTidy) {
    frmTitle title(nullptr, "Image1.html", "A title");
    title.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(title), "");
    EXPECT_TRUE(shot(title, "frmTitle.png"));
    // The longest reason for a refused title fits beside it.
    title.Text1->setText(QString::fromUtf8("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E x"));
    QCoreApplication::processEvents();
    EXPECT_FALSE(title.Label4->text().isEmpty());
    EXPECT_EQ(layoutFaults(title), "");
    EXPECT_TRUE(shot(title, "frmTitle-refused.png"));

    // Whatever face draws the characters the page cannot hold, the reason takes the room it needs:
    // here one whose lines are far taller than the design font's. The buttons and the dialog's
    // foot move down for it, and come back once the reason goes.
    title.Label4->setFont(qt::designFont(20));
    title.Text1_Change();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(title), "");
    EXPECT_GT(title.height(), 252);
    EXPECT_EQ(title.Command1->y() - title.Label4->geometry().bottom(), 1);
    title.Text1->setText("A new title");
    QCoreApplication::processEvents();
    EXPECT_EQ(title.size(), QSize(310, 252));
    EXPECT_EQ(title.Label4->geometry(), QRect(8, 186, 294, 28));
    EXPECT_EQ(title.Command1->y(), 218);

    frmFont font(nullptr, state, "Image1.html", "CSS - 60%");
    font.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(font), "");
    EXPECT_TRUE(shot(font, "frmFont.png"));
    font.Combo1->setCurrentIndex(8);
    font.Combo1_Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(font), "");
    EXPECT_TRUE(shot(font, "frmFont-custom.png"));
}

}  // namespace
}  // namespace tess::explorer
