#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTabWidget>
#include <QTimer>

#include "ShellFixture.h"
#include "platform/qt/testing/LayoutCheck.h"
#include "shell/ConverterProgram.h"
#include "shell/ProgramIcon.h"
#include "shell/VisualStyle.h"
#include "shell/frmCResize.h"
#include "shell/frmCSS.h"
#include "shell/frmFX.h"
#include "shell/frmSplash.h"

namespace tess {
namespace {

// Controls of ours are the widgets we named; the parts that Qt builds inside a combo box, a tab
// control or a text box carry no name or one of Qt's own "qt_" names.
bool isControl(const QWidget* w) {
    const QString name = w->objectName();
    return !name.isEmpty() && !name.startsWith("qt_") && name != "client" &&
           !name.startsWith("SSTab1Page");
}

// Every visible control lies inside its container's inner area and overlaps no visible sibling,
// and its caption fits. Returns the faults found, one a line.
std::string layoutFaults(const QWidget& top) {
    return qt::testing::layoutFaults(top, isControl);
}

// The style the window is drawn in while a test runs: the themed look or the classic one.
QString currentStyleName() {
    return QApplication::style()->name();
}

void saveShot(QWidget& w, QString name) {
    if (currentStyleName().compare("fusion", Qt::CaseInsensitive) != 0)
        name = currentStyleName().toLower() + "-" + name;
    EXPECT_TRUE(qt::testing::saveShot(w, SHELL_SCREENSHOT_DIR, name)) << name.toStdString();
}

// Every layout holds in both looks the converter starts with: the themed one (with the
// visual-style manifest) and the classic one (without it).
class Layout : public ShellFixture, public ::testing::WithParamInterface<const char*> {
  protected:
    Layout() { QApplication::setStyle(QStyleFactory::create(GetParam())); }
    ~Layout() override { QApplication::setStyle(QStyleFactory::create("Fusion")); }
};

INSTANTIATE_TEST_SUITE_P(BothLooks, Layout,
                         ::testing::Values(converterStyleName(true), converterStyleName(false)));

TEST_P(Layout, MainWindowIsFixedAtItsDesignSize) {
    auto w = openMain();
    w->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(w->centralWidget()->size(), QSize(443, 366));
    EXPECT_EQ(w->minimumSize(), w->maximumSize());
    // The viewport sits where it was designed within the tab control, with its inner area.
    EXPECT_EQ(w->Picture1Border->mapTo(w->SSTab1, QPoint(0, 0)), QPoint(6, 62));
    EXPECT_EQ(w->Picture1Border->size(), QSize(423, 205));
    EXPECT_EQ(w->Picture1->size(), QSize(419, 201));
    EXPECT_EQ(w->SSTab1->tabText(0), " 1. Select an Image ");
    EXPECT_EQ(w->SSTab1->tabText(1), " 2. Select Options ");
    EXPECT_EQ(w->SSTab1->tabText(2), " 3. Create Mosaic ");
}

TEST_P(Layout, EveryTabIsTidyAndItsScreenshotIsSaved) {
    store("Mode", "0");
    auto w = openMain();
    w->show();
    const char* shots[] = {"frmMain.png", "frmMain-options-tab.png", "frmMain-output-tab.png"};
    for (int tab = 0; tab < 3; ++tab) {
        w->SSTab1->setCurrentIndex(tab);
        QCoreApplication::processEvents();
        EXPECT_EQ(layoutFaults(*w), "") << "tab " << tab;
        saveShot(*w, shots[tab]);
    }
}

TEST_P(Layout, HiddenPanelsAreTidyWhenLaidOverTheTabs) {
    auto w = openMain();
    w->show();
    // The longest entries of the preferences' lists.
    store("FontSize", "7");
    store("Mode", "4");
    w->mnuSettings_Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(*w->HIDESET), "");
    saveShot(*w, "frmMain-preferences.png");
    w->mnuAboutMe_Click();
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(*w->HIDEABOUT), "");
    saveShot(*w, "frmMain-about.png");
}

TEST_P(Layout, DialogAndSplashAreTidy) {
    auto w = openMain();
    w->show();
    bool checked = false;
    QTimer::singleShot(0, w.get(), [&] {
        auto* css = qobject_cast<frmCSS*>(QApplication::activeModalWidget());
        ASSERT_NE(css, nullptr);
        EXPECT_EQ(layoutFaults(*css), "");
        saveShot(*css, "frmCSS.png");
        checked = true;
        css->reject();
    });
    w->selectComboIndex(w->Combo1, 8);
    EXPECT_TRUE(checked);

    checked = false;
    QTimer::singleShot(0, w.get(), [&] {
        auto* resize = qobject_cast<frmCResize*>(QApplication::activeModalWidget());
        ASSERT_NE(resize, nullptr);
        EXPECT_EQ(layoutFaults(*resize), "");
        saveShot(*resize, "frmCResize.png");
        checked = true;
        resize->reject();
    });
    w->mnuCResize_Click();
    EXPECT_TRUE(checked);

    ConverterProgram program(services, {});
    program.endProgram = [] {};
    program.start();
    ASSERT_NE(program.splash(), nullptr);
    EXPECT_EQ(layoutFaults(*program.splash()), "");
    saveShot(*program.splash(), "frmSplash.png");
}

TEST_P(Layout, EffectsDialogIsTidy) {
    auto w = openMain();
    w->show();
    w->mnuImgEfx_Click();
    frmFX* dialog = w->loadedEffectsDialog();
    ASSERT_NE(dialog, nullptr);
    dialog->List1->setCurrentRow(26);
    QCoreApplication::processEvents();
    EXPECT_EQ(layoutFaults(*dialog), "");
    saveShot(*dialog, "frmFX.png");
}

// The desktop shows the icon at every size it is installed in: square and opaque inside its
// see-through rounded corners.
TEST(ProgramIcon, EverySizeIsSquareAndSeeThroughAtTheCorners) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        const QImage icon = ProgramIcon(size);
        ASSERT_EQ(icon.size(), QSize(size, size)) << size;
        EXPECT_LT(qAlpha(icon.pixel(0, 0)), 128) << size;
        EXPECT_LT(qAlpha(icon.pixel(size - 1, 0)), 128) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255) << size;
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size - 2)), 255) << size;
    }
    EXPECT_TRUE(ProgramIcon(15).isNull());
}

}  // namespace
}  // namespace tess
