// The mosaic list of the explorer's main window: the buttons that follow the selected row, the
// hover texts and the colour swatch, the double-click on a cell, sorting by a column and the
// restored column order and sort.
#include <QCheckBox>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QStatusBar>
#include <QTableView>

#include "platform/Files.h"
#include "platform/Runtime.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/qt/QtText.h"
#include "windows/MosaicListModel.h"
#include "windows/ToolBarButton.h"
#include "windows/frmMain.h"

namespace tess::explorer {

using qt::fromQ;
using qt::toQ;

namespace {

constexpr const char* kSwatchCaption = " Background Color:";

// Red, green and blue of six hexadecimal digits, or nothing when they are not six digits.
std::optional<Colour> colourOfDigits(const std::string& digits) {
    if (digits.size() != 6)
        return std::nullopt;
    int channel[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k) {
        const int high = rt::hexDigitValue(digits[static_cast<std::size_t>(2 * k)]);
        const int low = rt::hexDigitValue(digits[static_cast<std::size_t>(2 * k + 1)]);
        if (high < 0 || low < 0)
            return std::nullopt;
        channel[k] = high * 16 + low;
    }
    return rgb(channel[0], channel[1], channel[2]);
}

}  // namespace

std::optional<Colour> frmMain::colourOfText(const std::string& text) {
    return colourOfDigits(text.size() >= 6 ? text.substr(text.size() - 6) : text);
}

int frmMain::selectedRow() const {
    const QModelIndex current = ListView1->selectionModel()->currentIndex();
    return current.isValid() && current.row() < rows_->count() ? current.row() : -1;
}

void frmMain::selectRow(int row) {
    if (row < 0 || row >= rows_->count())
        return;
    selectingInCode_ = true;
    ListView1->selectionModel()->setCurrentIndex(
        rows_->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView1->scrollTo(rows_->index(row, 0));
    selectingInCode_ = false;
}

void frmMain::setEditButtons(bool enabled) {
    for (ToolBarButton* b : {Command3, Command4, Command5, Command6, Command7, Command8, Command9})
        b->setEnabled(enabled);
}

bool frmMain::rowFileExists(int row) const {
    return row >= 0 && row < rows_->count() && FileExists(rows_->at(row).path());
}

void frmMain::markChanged(int row) {
    ListRow item = rows_->at(row);
    item.row.markChanged();
    rows_->update(row, std::move(item));
}

// ---- Selection and the buttons ----

void frmMain::ListView1_ItemClick() {
    const int R = selectedRow();
    if (R < 0)
        return;
    Command7->setEnabled(rows_->at(R).row.changed());
    if (!rowFileExists(R)) {
        setEditButtons(false);
        return;
    }
    for (ToolBarButton* b : {Command3, Command4, Command5, Command8, Command9})
        b->setEnabled(true);
    Command6->setEnabled(rows_->anyChanged());
}

void frmMain::CheckUpdate() {
    if (rows_->count() == 0) {
        for (ToolBarButton* b : {Command3, Command4, Command5, Command6, Command7})
            b->setEnabled(false);
        return;
    }
    Command6->setEnabled(rows_->anyChanged());
}

// ---- Hover texts ----

void frmMain::hideSwatch() {
    Panel2->hide();
    ShownColor.reset();
}

void frmMain::showSwatch(const std::string& colour) {
    if (ShownColor && *ShownColor == colour)
        return;
    const std::optional<Colour> c = colourOfDigits(colour);
    if (!c) {
        // A page without a readable colour has no swatch to show.
        hideSwatch();
        return;
    }
    ShownColor = colour;
    const QFontMetrics fm(Picture3->font());
    const int width = fm.horizontalAdvance(kSwatchCaption) + 42;
    const int height = Picture3->height();
    Picture3->resize(width, height);
    QPixmap swatch(width, height);
    swatch.fill(palette().color(QPalette::Window));
    {
        QPainter p(&swatch);
        p.setFont(Picture3->font());
        p.setPen(palette().color(QPalette::WindowText));
        p.drawText(QRect(0, 1, width - 40, height - 1), Qt::AlignLeft | Qt::AlignTop,
                   kSwatchCaption);
        p.fillRect(QRect(width - 40, 0, 40, height), QColor(redOf(*c), greenOf(*c), blueOf(*c)));
    }
    Panel2->setPixmap(swatch);
    Panel2->show();
}

void frmMain::RestoreStatus() {
    if (status() == DefaultStatus)
        return;
    setStatus(DefaultStatus);
    hideSwatch();
}

void frmMain::controlMouseMove(QWidget* control) {
    const std::string tip = fromQ(control->toolTip());
    if (status() == tip)
        return;
    setStatus(tip);
    hideSwatch();
}

void frmMain::ListView1_MouseMove(int x, int y) {
    LastMouseX = x;
    LastMouseY = y;
    const QModelIndex hit = ListView1->indexAt(QPoint(x, y));
    if (!hit.isValid() || hit.row() >= rows_->count()) {
        RestoreStatus();
        return;
    }
    const char* text = nullptr;
    switch (hit.column()) {
        case 0:
            text = "Double click to change title.";
            break;
        case 1:
            text = "Double click to preview selected item in browser..";
            break;
        case 3:
            text = "Double click to change font size.";
            break;
        case 4: {
            const std::string& colour = rows_->at(hit.row()).row.bgColor;
            showSwatch(colour.size() >= 6 ? colour.substr(colour.size() - 6) : colour);
            if (status() != "Double click to change background color.")
                setStatus("Double click to change background color.");
            return;
        }
        default:
            if (ShownColor)
                hideSwatch();
            if (status() != DefaultStatus)
                setStatus(DefaultStatus);
            return;
    }
    if (ShownColor)
        hideSwatch();
    if (status() != text)
        setStatus(text);
}

// ---- Double-click ----

void frmMain::ListView1_DblClick() {
    if (rows_->count() == 0)
        return;
    const QModelIndex hit = ListView1->indexAt(QPoint(LastMouseX, LastMouseY));
    if (!hit.isValid() || hit.row() >= rows_->count())
        return;
    switch (hit.column()) {
        case 0:
            Command4_Click();
            break;
        case 1:
            Command8_Click();
            break;
        case 3:
            Command5_Click();
            break;
        case 4:
            Command3_Click();
            break;
        default:
            break;
    }
}

// ---- Sorting and column order ----

void frmMain::setSort(int key, int order) {
    sortKey_ = key;
    sortOrder_ = order;
    ListView1->horizontalHeader()->setSortIndicator(
        key, order == 1 ? Qt::DescendingOrder : Qt::AscendingOrder);
    rows_->sort(key, order == 1);
}

void frmMain::ListView1_ColumnClick(int header) {
    if (sortKey_ == header - 1) {
        setSort(sortKey_, sortOrder_ == 0 ? 1 : 0);
    } else {
        setSort(header - 1, sortOrder_);
    }
}

void frmMain::LoadSorts() {
    const std::optional<double> key = rt::toNumber(setting("SortKey", std::to_string(sortKey_)));
    const std::optional<double> order =
        rt::toNumber(setting("SortOrder", std::to_string(sortOrder_)));
    const std::optional<std::int16_t> k = key ? rt::toInt16(*key) : std::nullopt;
    const std::optional<std::int32_t> o = order ? rt::toInt32(*order) : std::nullopt;
    // The list takes only one of its columns and the two orders.
    if (!k || !o || *k < 0 || *k >= rows_->columnCount() || (*o != 0 && *o != 1)) {
        setSort(0, 0);
        return;
    }
    setSort(*k, *o);
}

void frmMain::LoadOrders() {
    QHeaderView* header = ListView1->horizontalHeader();
    const int columns = rows_->columnCount();
    std::vector<int> positions;
    for (int i = 1; i <= columns; ++i) {
        const std::string key = "Column" + std::to_string(i) + "Order";
        const std::optional<double> value =
            rt::toNumber(setting(key.c_str(), std::to_string(header->visualIndex(i - 1) + 1)));
        const std::optional<std::int16_t> p = value ? rt::toInt16(*value) : std::nullopt;
        if (!p || *p < 1 || *p > columns) {
            for (int c = 0; c < columns; ++c)
                header->moveSection(header->visualIndex(c), c);
            return;
        }
        header->moveSection(header->visualIndex(i - 1), *p - 1);
    }
}

}  // namespace tess::explorer
