// The directory scan of the explorer's main window: the Process/Cancel button, the walk over the
// directory's pages with a turn of the event loop after each, and the list it leaves.
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <cstdint>

#include "explorer/MosaicScan.h"
#include "platform/Runtime.h"
#include "platform/qt/QtText.h"
#include "windows/MosaicListModel.h"
#include "windows/ToolBarButton.h"
#include "windows/frmMain.h"

namespace tess::explorer {

using qt::fromQ;

namespace {

constexpr const char* kProcessCaption = "Process";
constexpr const char* kCancelCaption = "Cancel";
// How often a scan lets the status bar show its latest text, in milliseconds.
constexpr std::uint32_t kStatusPaintInterval = 20;

// A date and time as one number that sorts as the times do.
std::int64_t sortKeyOf(const DateTime& t) {
    std::int64_t key = t.year;
    key = key * 13 + t.month;
    key = key * 32 + t.day;
    key = key * 24 + t.hour;
    key = key * 60 + t.minute;
    key = key * 60 + t.second;
    return key * 1000 + t.millisecond;
}

}  // namespace

bool frmMain::scanRunning() const {
    return scanning_;
}

void frmMain::Command2_Click() {
    const QString caption = Command2->text();
    if (caption == kCancelCaption) {
        // The running scan sees the caption after its current file.
        Command2->setEnabled(false);
        Command2->setText(kProcessCaption);
        return;
    }
    if (caption != kProcessCaption || scanning_)
        return;
    if (!confirmDiscard("Processing the directory will clear the contents of the list and you "
                        "will lose any unsaved changes!"))
        return;
    runScan();
}

void frmMain::runScan() {
    scanning_ = true;
    Command2->setText(kCancelCaption);
    const std::string entry = fromQ(Combo1->currentText());
    const std::string directory = entry.empty() || entry.back() == '/' ? entry : entry + "/";
    // A directory that went away since it was chosen holds no pages.
    Result<std::vector<std::string>> listed = listPages(directory);
    File1 = listed ? std::move(listed.value()) : std::vector<std::string>{};
    const std::vector<std::string>& names = File1;

    // The title, colour and font-size buttons would act on a list without a selected row.
    for (QWidget* w :
         std::initializer_list<QWidget*>{Command1, Combo1, Command3, Command4, Command5, Command6,
                                         Command7, Command8, Command9})
        w->setEnabled(false);
    rows_->clear();
    PicHide->setGeometry(ListView1->geometry());
    PicHide->show();
    PicHide->raise();
    ListView1->hide();
    ListView1->setEnabled(false);

    const int count = static_cast<int>(names.size());
    statusPaintTick_ = services_.clock.tickCount() - kStatusPaintInterval;
    freezeStatusPanel(true);
    for (int i = 0; i < count; ++i) {
        const std::string& name = names[static_cast<std::size_t>(i)];
        if (std::optional<MosaicRow> row = scanPage(directory, name)) {
            ListRow item;
            item.kilobytes = rt::val(row->sizeText);
            item.directory = directory;
            if (row->created)
                item.createdKey = sortKeyOf(*row->created);
            item.row = std::move(*row);
            rows_->add(std::move(item));
            setStatus("Processing file " + std::to_string(i + 1) + " of " + std::to_string(count) +
                      " (" + name + ")");
            hideSwatch();
            DefaultStatus = status();
        }
        paceStatusPaint();
        services_.pump.doEvents();
        if (Command2->text() == kProcessCaption)
            break;
    }
    endScan(entry);
}

void frmMain::paceStatusPaint() {
    // A scan sets a new status text for every page, thousands a second, and the bar's every
    // repaint also repaints the window's backdrop under it: the bar paints its latest text only
    // every kStatusPaintInterval, as often as a screen can show a change anyway.
    const std::uint32_t now = services_.clock.tickCount();
    const bool due = now - statusPaintTick_ >= kStatusPaintInterval;
    if (due)
        statusPaintTick_ = now;
    StatusBar1->setUpdatesEnabled(due);
}

void frmMain::freezeStatusPanel(bool frozen) {
    if (frozen) {
        Panel1->setFixedSize(Panel1->size());
        return;
    }
    Panel1->setMinimumSize(kStatusPanelMinWidth, 0);
    Panel1->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void frmMain::refitStatusPanel() {
    freezeStatusPanel(false);
    StatusBar1->layout()->activate();
    freezeStatusPanel(true);
}

void frmMain::endScan(const std::string& entry) {
    StatusBar1->setUpdatesEnabled(true);
    freezeStatusPanel(false);
    ListView1->setEnabled(true);
    ListView1->show();
    PicHide->hide();
    setStatus(Command2->text() == kProcessCaption ? "Processing Has Been Canceled"
                                                  : "Finished Processing");
    hideSwatch();
    DefaultStatus = status();
    ListedDir = entry;
    ListedDirIndex = std::to_string(Combo1->currentIndex());
    NoListYet = false;
    Combo1->setEnabled(true);
    Command1->setEnabled(true);
    Command2->setText(kProcessCaption);
    Command2->setEnabled(true);
    for (int r = 0; r < rows_->count(); ++r) {
        ListRow item = rows_->at(r);
        item.row.sizeText = displaySizeText(item.row.sizeText);
        rows_->update(r, std::move(item));
    }
    if (rows_->count() == 0) {
        setEditButtons(false);
    } else {
        for (ToolBarButton* b : {Command3, Command4, Command5, Command8, Command9})
            b->setEnabled(true);
        Command6->setEnabled(false);
        Command7->setEnabled(false);
        setSort(sortKey_, sortOrder_);
        selectRow(0);
    }
    scanning_ = false;
    if (closeAfterScan_) {
        closeAfterScan_ = false;
        close();
    }
}

}  // namespace tess::explorer
