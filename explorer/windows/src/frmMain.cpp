#include "windows/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <exception>

#include "platform/Blit.h"
#include "platform/Runtime.h"
#include "platform/qt/Controls.h"
#include "platform/qt/DesignFont.h"
#include "platform/qt/PictureBoxWidget.h"
#include "platform/qt/QtPicture.h"
#include "platform/qt/QtText.h"
#include "windows/ElidedHeaderStyle.h"
#include "windows/ExplorerArt.h"
#include "windows/MosaicListModel.h"
#include "windows/ToolBarButton.h"

namespace tess::explorer {

using qt::fromQ;
using qt::PictureBoxWidget;
using qt::placed;
using qt::toQ;

namespace {

constexpr const char* kApp = "Tessaryn32";
constexpr const char* kSection = "Explorer";

// Column width divisors of the autosize, by column as created.
constexpr double kColumnDivisors[] = {3.8, 6.2, 7.0, 7.5, 7.0, 6.0};

// Runs one statement of the layout: a statement that fails is skipped and the next one runs.
template <class Step>
void runStep(Step&& step) {
    try {
        step();
    } catch (const std::exception&) {
    }
}

ToolBarButton* makeToolButton(QWidget* parent, const char* name, int left, const char* tip) {
    auto* button = placed(new ToolBarButton(parent), name, {left, 5, 24, 24});
    button->setToolTip(tip);
    button->setAutoDefault(false);
    button->setIconSize(QSize(16, 16));
    return button;
}

}  // namespace

frmMain::frmMain(Services& services, ExplorerState& state, std::string commandLine, QWidget* parent)
    : QMainWindow(parent),
      services_(services),
      state_(state),
      commandLine_(std::move(commandLine)) {
    runModal = [](QDialog& dialog) { dialog.exec(); };
    keyboardModifiers = [] { return QGuiApplication::queryKeyboardModifiers(); };
    endProgram = [] { QCoreApplication::exit(0); };
    setObjectName("frmMain");
    setWindowTitle(kCaption);
    // The controls are laid out in pixels; a fixed font keeps every caption inside its control.
    setFont(qt::designFont());

    buildMenus();
    buildControls();
    connectHandlers();
    resize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
}

frmMain::~frmMain() = default;

void frmMain::buildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("menuBar");
    mnuFile = bar->addMenu("&File");
    mnuFile->setObjectName("mnuFile");
    mnuExit = mnuFile->addAction("E&xit");
    mnuExit->setObjectName("mnuExit");
}

void frmMain::buildControls() {
    client = new PictureBoxWidget(this);
    client->setObjectName("client");
    (void)client->box().setSize(kClientWidth, kClientHeight);
    setCentralWidget(client);

    Image1 = placed(new QLabel(client), "Image1", {0, 0, 429, 59});
    Image2 = placed(new QLabel(client), "Image2", {428, 0, 127, 59});
    // The banner is painted on the window itself; its design copies never show.
    Image1->hide();
    Image2->hide();
    Label2 = placed(new QLabel("ALPHA", client), "Label2", {408, 4, 37, 13});
    Label2->hide();

    Picture2 = placed(new PictureBoxWidget(client), "Picture2", {0, 61, 555, 34});
    Command4 = makeToolButton(Picture2, "Command4", 4, "Change selected item title.");
    Command3 = makeToolButton(Picture2, "Command3", 32, "Change selected item background color.");
    Command5 = makeToolButton(Picture2, "Command5", 60, "Change selected item font size.");
    Command6 = makeToolButton(Picture2, "Command6", 88, "Save all changed items.");
    Command7 = makeToolButton(Picture2, "Command7", 116, "Change selected item only.");
    Command9 = makeToolButton(Picture2, "Command9", 144, "Delete the selected item.");
    Command8 = makeToolButton(Picture2, "Command8", 172, "Preview selected item in browser.");
    for (QPushButton* b : {Command3, Command4, Command5, Command6, Command7, Command8, Command9})
        b->setEnabled(false);
    Label1 = placed(new QLabel("Path:", Picture2), "Label1", {210, 11, 30, 13});
    Combo1 = placed(new QComboBox(Picture2), "Combo1", {242, 7, 217, 21});
    Combo1->setToolTip("Select the location of your Tessaryn mosaic path.");
    Command1 = placed(new ToolBarButton("...", Picture2), "Command1", {464, 7, 23, 21});
    Command1->setToolTip("Browse to select the location of your Tessaryn mosaic path.");
    Command1->setAutoDefault(false);
    Command2 = placed(new QPushButton("Process", Picture2), "Command2", {492, 7, 57, 21});
    Command2->setToolTip("Process the mosaics in the selected directory.");
    Command2->setAutoDefault(false);
    Command2->setEnabled(false);

    Picture3 = placed(new PictureBoxWidget(client), "Picture3", {128, 98, 48, 15});
    Picture3->hide();
    Check2 = placed(new QCheckBox("Show grid lines", client), "Check2", {262, 98, 110, 13});
    Check2->setToolTip("Toggle list grid lines.");
    Check2->setChecked(true);
    Check1 = placed(new QCheckBox("Autosize List Headers", client), "Check1", {374, 98, 144, 13});
    Check1->setToolTip("Toggle automatic resizing of list headers.");
    Check1->setChecked(true);

    rows_ = new MosaicListModel(this);
    ListView1 = placed(new QTableView(client), "ListView1", {0, 113, 555, 197});
    ListView1->setModel(rows_);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setWordWrap(false);
    ListView1->setIconSize(QSize(13, 13));
    ListView1->verticalHeader()->hide();
    ListView1->verticalHeader()->setDefaultSectionSize(18);
    ListView1->horizontalHeader()->setSectionsMovable(true);
    ListView1->horizontalHeader()->setSectionsClickable(true);
    ListView1->horizontalHeader()->setSortIndicatorShown(true);
    ListView1->horizontalHeader()->setHighlightSections(false);
    ListView1->horizontalHeader()->setStretchLastSection(false);
    // A caption wider than its column ends in "..." rather than losing both its ends.
    ListView1->horizontalHeader()->setTextElideMode(Qt::ElideRight);
    auto* headerStyle = new ElidedHeaderStyle();
    headerStyle->setParent(ListView1->horizontalHeader());
    ListView1->horizontalHeader()->setStyle(headerStyle);
    for (int c = 0; c < rows_->columnCount(); ++c)
        ListView1->setColumnWidth(c, 555 / 6);
    ListView1->viewport()->setMouseTracking(true);

    PicHide = placed(new QLabel("Loading...", client), "PicHide", {0, 113, 23, 26});
    PicHide->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PicHide->setContentsMargins(4, 4, 0, 0);
    PicHide->setAutoFillBackground(true);
    QPalette back = PicHide->palette();
    back.setColor(QPalette::Window, back.color(QPalette::Base));
    PicHide->setPalette(back);
    PicHide->hide();

    StatusBar1 = placed(new QStatusBar(client), "StatusBar1", {0, 312, 557, 19});
    Panel1 = new QLabel(StatusBar1);
    Panel1->setObjectName("Panel1");
    Panel1->setTextFormat(Qt::PlainText);
    Panel1->setMinimumWidth(kStatusPanelMinWidth);
    StatusBar1->addWidget(Panel1, 1);
    Panel2 = new QLabel(StatusBar1);
    Panel2->setObjectName("Panel2");
    StatusBar1->addPermanentWidget(Panel2);
    Panel2->hide();

    // The hover texts need the pointer's moves without a button held.
    for (QWidget* w : std::initializer_list<QWidget*>{
             client, Image1, Image2, Label1, Label2, Picture2, StatusBar1, Panel1, Check1, Check2,
             Command1, Command2, Command3, Command4, Command5, Command6, Command7, Command8}) {
        w->setMouseTracking(true);
        w->installEventFilter(this);
    }
    ListView1->installEventFilter(this);
    ListView1->viewport()->installEventFilter(this);
}

void frmMain::connectHandlers() {
    connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });
    connect(client, &PictureBoxWidget::paintRequested, this, [this] { Form_Paint(); });
    connect(Check2, &QCheckBox::toggled, this, [this] { Check2_Click(); });
    connect(Combo1, &QComboBox::activated, this, [this] { Combo1_Click(); });
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
    connect(Command3, &QPushButton::clicked, this, [this] { Command3_Click(); });
    connect(Command4, &QPushButton::clicked, this, [this] { Command4_Click(); });
    connect(Command5, &QPushButton::clicked, this, [this] { Command5_Click(); });
    connect(Command6, &QPushButton::clicked, this, [this] { Command6_Click(); });
    connect(Command7, &QPushButton::clicked, this, [this] { Command7_Click(); });
    connect(Command8, &QPushButton::clicked, this, [this] { Command8_Click(); });
    connect(Command9, &QPushButton::clicked, this, [this] { Command9_Click(); });
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int logical) { ListView1_ColumnClick(logical + 1); });
    connect(ListView1, &QAbstractItemView::clicked, this, [this] { ListView1_ItemClick(); });
    connect(ListView1->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!selectingInCode_)
            ListView1_ItemClick();
    });
}

std::string frmMain::setting(const char* key, const std::string& fallback) const {
    return services_.settings.get(kApp, kSection, key, fallback);
}

void frmMain::saveSetting(const char* key, const std::string& value) {
    services_.settings.save(kApp, kSection, key, value);
}

void frmMain::setStatus(const std::string& text) {
    Panel1->setText(toQ(text));
}

std::string frmMain::status() const {
    return fromQ(Panel1->text());
}

// ---- Start-up ----

void frmMain::Form_Load() {
    NoListYet = true;
    LoadResXP();
    ListedDirIndex = "-1";
    MinWidth = width();
    MinHeight = height();
    setMinimumSize(MinWidth, MinHeight);
    QFont swatchFont = font();
    swatchFont.setPixelSize(11);
    Picture3->setFont(swatchFont);
    Panel2->setFixedWidth(QFontMetrics(swatchFont).horizontalAdvance(" Background Color:") + 42);
    state_.CSSSize = 60;
    state_.CSSUnit = "%";
    setStatus(kWelcome);
    Panel2->hide();
    ShownColor.reset();
    DefaultStatus = status();
    LoadSorts();
    LoadOrders();
    LoadDirList();
    LayoutReady = true;

    const std::string path = rt::trim(commandLine_);
    const bool remembered =
        Combo1->count() > 0 && fromQ(Combo1->itemText(0)) != std::string(kPlaceholder);
    if (!path.empty() && !remembered && isDirectory(path))
        AddDirs(path.back() == '/' ? path : path + "/");

    if (Command2->isEnabled())
        Command2_Click();
    ToolBarButtons(true);
}

void frmMain::Form_Activate() {
    LayoutReady = true;
}

void frmMain::changeEvent(QEvent* event) {
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
    QMainWindow::changeEvent(event);
}

void frmMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

// ---- Layout ----

void frmMain::Form_Resize() {
    if (!client)
        return;
    const int W = client->width();
    const int H = client->height();
    runStep([&] {
        if (MinWidth > 0 && width() < MinWidth)
            resize(MinWidth, height());
        if (MinHeight > 0 && height() < MinHeight)
            resize(width(), MinHeight);
    });
    runStep([&] {
        if (client->box().setSize(W, H))
            client->update();
    });
    runStep([&] {
        Picture2->resize(W, Picture2->height());
        if (Picture2->box().setSize(W, Picture2->height()))
            Picture2->box().cls();
    });
    runStep([&] {
        const int w = Picture2->width();
        const int h = Picture2->height();
        ThreeDLine(*Picture2, 0, h - 2, w);
        ThreeDLine(*Picture2, 0, 0, w);
        ThreeDLineV(*Picture2, Command8->x() + Command8->width() + 6, 2, h - 4);
        Picture2->update();
    });
    runStep([&] {
        Combo1->resize(std::max(0, W - Combo1->x() - (Command1->width() + Command2->width() + 12)),
                       Combo1->height());
    });
    runStep([&] { Command1->move(Combo1->x() + Combo1->width() + 4, Command1->y()); });
    runStep([&] { Command2->move(Command1->x() + Command1->width() + 4, Command2->y()); });
    runStep([&] { Label2->move(W - Label2->width() - 2, Label2->y()); });
    runStep([&] { ListView1->resize(W, std::max(0, H - ListView1->y() - StatusBar1->height())); });
    runStep([&] { PicHide->setGeometry(ListView1->geometry()); });
    runStep([&] {
        StatusBar1->setGeometry(0, H - StatusBar1->height(), W, StatusBar1->height());
        if (scanning_)
            refitStatusPanel();
    });
    runStep([&] { Check1->move(W - Check1->width() - 2, ListView1->y() - Check1->height() - 2); });
    runStep([&] { Check2->move(Check1->x() - Check2->width() - 2, Check1->y()); });
    runStep([&] {
        if (Check1->isChecked() && LayoutReady)
            autosizeColumns();
    });
    if (!ChecksLoaded) {
        runStep([&] { LoadChecks(); });
        ChecksLoaded = true;
    }
}

void frmMain::autosizeColumns() {
    const double S = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, ListView1) / 6.0;
    const double L = ListView1->width();
    for (int c = 0; c < 6; ++c) {
        const double w = L / kColumnDivisors[c] - 2 - S;
        ListView1->setColumnWidth(c, std::max(0, rt::roundHalfEven(w)));
    }
}

void frmMain::LoadChecks() {
    // A stored value that is no number ends the step; the boxes not set yet keep their state.
    const std::optional<double> auto_ = rt::toNumber(setting("AutoColumn", "1"));
    if (!auto_)
        return;
    Check1->setChecked(*auto_ != 0);
    const std::optional<double> grid = rt::toNumber(setting("ShowGrid", "1"));
    if (!grid)
        return;
    Check2->setChecked(*grid != 0);
    Check2_Click();
}

void frmMain::Check2_Click() {
    ListView1->setShowGrid(Check2->isChecked());
}

// ---- Toolbar and backdrop ----

void frmMain::LoadResXP() {
    const struct {
        ToolBarButton* button;
        const char* bitmap;
    } pictures[] = {{Command4, "XP_ICO_TIT"}, {Command3, "XP_ICO_BGC"}, {Command5, "XP_ICO_FS"},
                    {Command6, "XP_ICO_SA"},  {Command7, "XP_ICO_SAV"}, {Command9, "XP_ICO_X"},
                    {Command8, "XP_ICO_PREV"}};
    for (const auto& p : pictures)
        p.button->setIcon(maskedIcon(resourceBitmap(p.bitmap)));
    bannerMain_ = fromQImage(resourceBitmap("XP_MAIN"), 0);
    bannerBlue_ = fromQImage(resourceBitmap("XP_BLUE"), 0);
    bannerBar_ = fromQImage(resourceBitmap("XP_BAR"), 0);
}

void frmMain::ToolBarButtons(bool HideFocusRect) {
    for (ToolBarButton* b : {Command1, Command3, Command4, Command5, Command6, Command7, Command8})
        b->setHideFocusRect(HideFocusRect);
}

void frmMain::ThreeDLine(PictureBoxWidget& TheForm, int X, int Y, int Width) {
    Picture& s = TheForm.box().surface();
    s.line(X, Y, X + Width, Y, syscolour::ButtonShadow);
    s.line(X, Y + 1, X + Width, Y + 1, syscolour::ButtonHighlight);
    TheForm.box().touch();
}

void frmMain::ThreeDLineV(PictureBoxWidget& TheForm, int X, int Y, int Height) {
    Picture& s = TheForm.box().surface();
    s.line(X, Y, X, Y + Height, syscolour::ButtonShadow);
    s.line(X + 1, Y, X + 1, Y + Height, syscolour::ButtonHighlight);
    TheForm.box().touch();
}

void frmMain::Form_Paint() {
    Image1->hide();
    Image2->hide();
    Picture& s = client->box().surface();
    const int W = s.width();
    bitBlt(s, 0, 0, bannerMain_.width(), bannerMain_.height(), bannerMain_, 0, 0,
           RasterOp::SrcCopy);
    stretchBlt(s, 429, 0, W - 429, bannerBlue_.height(), bannerBlue_, 0, 0, bannerBlue_.width(),
               bannerBlue_.height(), RasterOp::SrcCopy, StretchMode::ColorOnColor);
    stretchBlt(s, 0, 55, W, bannerBar_.height(), bannerBar_, 0, 0, bannerBar_.width(),
               bannerBar_.height(), RasterOp::SrcCopy, StretchMode::ColorOnColor);
}

// ---- Shut-down ----

void frmMain::mnuExit_Click() {
    close();
}

void frmMain::closeEvent(QCloseEvent* event) {
    if (scanRunning()) {
        // The scan is inside one of its turns of the event loop: it is asked to stop, and the
        // window closes once it has ended.
        closeAfterScan_ = true;
        if (Command2->text() == "Cancel")
            Command2_Click();
        event->ignore();
        return;
    }
    if (!Form_Unload()) {
        event->ignore();
        return;
    }
    event->accept();
    endProgram();
}

bool frmMain::Form_Unload() {
    if (unloaded_)
        return true;
    if (!confirmDiscard("Closing the explorer now will lose the changes that have not been saved!"))
        return false;
    QHeaderView* header = ListView1->horizontalHeader();
    for (int i = 1; i <= 6; ++i) {
        const std::string key = "Column" + std::to_string(i) + "Order";
        saveSetting(key.c_str(), std::to_string(header->visualIndex(i - 1) + 1));
    }
    saveSetting("SortKey", std::to_string(sortKey_));
    saveSetting("SortOrder", std::to_string(sortOrder_));
    saveSetting("AutoColumn", Check1->isChecked() ? "1" : "0");
    saveSetting("ShowGrid", Check2->isChecked() ? "1" : "0");
    std::string list;
    for (int i = 0; i < Combo1->count(); ++i) {
        if (i > 0)
            list += ",";
        list += fromQ(Combo1->itemText(i));
    }
    services_.settings.save("Tessaryn32\\Explorer", "MRU", "DirList", list);
    ToolBarButtons(false);
    unloaded_ = true;
    return true;
}

bool frmMain::confirmDiscard(const std::string& prompt) {
    if (!rows_->anyChanged())
        return true;
    return services_.dialogs.msgBox(prompt + "\r\n\r\nAre you sure you want to do this?",
                                    mb::YesNo | mb::Question | mb::DefaultButton2,
                                    "Are you sure?") == mb::Yes;
}

// ---- Events ----

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListView1->viewport()) {
        if (event->type() == QEvent::MouseMove) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            ListView1_MouseMove(p.x(), p.y());
        } else if (event->type() == QEvent::MouseButtonDblClick) {
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            LastMouseX = p.x();
            LastMouseY = p.y();
            ListView1_DblClick();
            return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (watched == ListView1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete) {
            const Qt::KeyboardModifiers m = key->modifiers();
            const int shift = (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
                              (m & Qt::AltModifier ? 4 : 0);
            int code = 46;
            ListView1_KeyDown(code, shift);
            if (code == 0)
                return true;
        }
        return QMainWindow::eventFilter(watched, event);
    }
    if (event->type() == QEvent::MouseMove) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget == Check1 || widget == Check2 || widget == Command1 || widget == Command2 ||
            widget == Command3 || widget == Command4 || widget == Command5 || widget == Command6 ||
            widget == Command7 || widget == Command8) {
            controlMouseMove(widget);
        } else if (widget) {
            RestoreStatus();
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace tess::explorer
