#include <gtest/gtest.h>

#include <QApplication>
#include <QDropEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <string>
#include <vector>

#include "platform/SystemColours.h"
#include "platform/qt/PictureBoxWidget.h"

namespace tess::qt {
namespace {

QRgb rgbOf(Colour c) {
    return qRgb(redOf(c), greenOf(c), blueOf(c));
}

TEST(PictureBoxWidget, PaintsTheSurfaceOneToOneAndTheBackColourAroundIt) {
    SystemColours::set(15, 0x332211);
    PictureBoxWidget widget;  // back colour: the button face
    ASSERT_TRUE(widget.box().setSize(3, 2));
    widget.box().surface().fill(0x0000FF);
    widget.box().pset(1, 0, 0x00FF00);
    widget.box().pset(2, 1, 0x123456);
    widget.resize(5, 4);

    const QImage shown = widget.grab().toImage();
    ASSERT_EQ(shown.size(), QSize(5, 4));
    EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(shown.pixel(1, 0), qRgb(0, 255, 0));
    EXPECT_EQ(shown.pixel(2, 1), qRgb(0x56, 0x34, 0x12));
    for (QPoint outside : {QPoint(3, 0), QPoint(4, 3), QPoint(0, 2), QPoint(2, 3)}) {
        EXPECT_EQ(shown.pixel(outside), qRgb(0x11, 0x22, 0x33))
            << outside.x() << "," << outside.y();
    }

    widget.box().setBackColor(0x00FFFF);
    EXPECT_EQ(widget.grab().toImage().pixel(4, 3), rgbOf(0x00FFFF));
    SystemColours::resetToDefaults();
}

TEST(PictureBoxWidget, SizeHintIsTheSurface) {
    PictureBoxWidget widget;
    ASSERT_TRUE(widget.box().setSize(140, 92));
    EXPECT_EQ(widget.sizeHint(), QSize(140, 92));
}

class PictureBoxWidgetMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        widget.resize(50, 50);
        auto record = [this](const char* what) {
            return [this, what](int button, int shift, int x, int y) {
                log.push_back(std::string(what) + " " + std::to_string(button) + " " +
                              std::to_string(shift) + " " + std::to_string(x) + "," +
                              std::to_string(y));
            };
        };
        QObject::connect(&widget, &PictureBoxWidget::mousePressed, record("down"));
        QObject::connect(&widget, &PictureBoxWidget::mouseReleased, record("up"));
        QObject::connect(&widget, &PictureBoxWidget::clicked, [this] { log.push_back("click"); });
        QObject::connect(&widget, &PictureBoxWidget::doubleClicked,
                         [this] { log.push_back("dblclick"); });
    }

    void send(QEvent::Type type, Qt::MouseButton button, QPoint at,
              Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), button, held,
                          modifiers);
        QApplication::sendEvent(&widget, &event);
    }

    PictureBoxWidget widget;
    std::vector<std::string> log;
};

TEST_F(PictureBoxWidgetMouse, DoubleClickFollowsTheOriginalOrder) {
    send(QEvent::MouseButtonPress, Qt::LeftButton, {3, 4});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {3, 4});
    send(QEvent::MouseButtonDblClick, Qt::LeftButton, {3, 4});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {3, 4});
    send(QEvent::MouseButtonPress, Qt::LeftButton, {5, 6});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {5, 6});
    EXPECT_EQ(log, (std::vector<std::string>{"down 1 0 3,4", "up 1 0 3,4", "click", "dblclick",
                                             "up 1 0 3,4", "down 1 0 5,6", "up 1 0 5,6", "click"}));
}

TEST_F(PictureBoxWidgetMouse, ReportsButtonsAndShiftInTheOriginalNumbers) {
    send(QEvent::MouseButtonPress, Qt::RightButton, {7, 8}, Qt::ShiftModifier);
    send(QEvent::MouseButtonRelease, Qt::RightButton, {7, 8},
         Qt::ShiftModifier | Qt::ControlModifier);
    send(QEvent::MouseButtonRelease, Qt::MiddleButton, {1, 2}, Qt::AltModifier);
    // A left release outside the widget is no click.
    send(QEvent::MouseButtonPress, Qt::LeftButton, {1, 1});
    send(QEvent::MouseButtonRelease, Qt::LeftButton, {60, 1});
    EXPECT_EQ(log, (std::vector<std::string>{"down 2 1 7,8", "up 2 3 7,8", "up 4 4 1,2",
                                             "down 1 0 1,1", "up 1 0 60,1"}));
}

// Counts the key presses that reach a widget.
class KeyCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            ++presses;
        return false;
    }
    int presses = 0;
};

TEST(PictureBoxWidget, KeyHandlersSwallowKeysByAcceptingThem) {
    QWidget parent;
    KeyCounter counter;
    parent.installEventFilter(&counter);
    auto* widget = new PictureBoxWidget(&parent);
    std::vector<int> keys;
    QObject::connect(widget, &PictureBoxWidget::keyPressed, [&](QKeyEvent* event) {
        keys.push_back(event->key());
        if (event->key() == Qt::Key_Return)
            event->accept();
    });

    for (int key : {Qt::Key_Return, Qt::Key_A}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Return, Qt::Key_A}));
    EXPECT_EQ(counter.presses, 1);  // only the ignored "A" went on to the parent
}

TEST(PictureBoxWidget, KeepsOnlyLocalFilesOfADrag) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile("/tmp/Photo.JPEG"), QUrl("https://example.org/a.bmp"),
                  QUrl::fromLocalFile("/tmp/dir with space/b #1.bmp")});
    EXPECT_EQ(PictureBoxWidget::localFiles(&data),
              (std::vector<std::string>{"/tmp/Photo.JPEG", "/tmp/dir with space/b #1.bmp"}));
    QMimeData text;
    text.setText("/tmp/Photo.JPEG");
    EXPECT_TRUE(PictureBoxWidget::localFiles(&text).empty());
    EXPECT_TRUE(PictureBoxWidget::localFiles(nullptr).empty());
}

TEST(PictureBoxWidget, DropsFilesOnlyWhenEnabledAndOnlyLocalOnes) {
    PictureBoxWidget widget;
    widget.resize(20, 20);
    std::vector<std::vector<std::string>> drops;
    QObject::connect(&widget, &PictureBoxWidget::filesDropped,
                     [&](const std::vector<std::string>& paths) { drops.push_back(paths); });

    QMimeData files;
    files.setUrls({QUrl::fromLocalFile("/tmp/a.bmp"), QUrl::fromLocalFile("/tmp/b.gif")});
    QMimeData remote;
    remote.setUrls({QUrl("https://example.org/a.bmp")});

    auto enter = [&](const QMimeData& data) {
        QDragEnterEvent event(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                              Qt::NoModifier);
        event.ignore();
        QApplication::sendEvent(&widget, &event);
        return event.isAccepted();
    };
    auto drop = [&](const QMimeData& data) {
        QDropEvent event(QPointF(5, 5), Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&widget, &event);
    };

    // A drag starts with its enter event; Qt delivers the drop only after an accepted enter.
    enter(files);
    drop(files);
    EXPECT_TRUE(drops.empty());

    widget.setAcceptsFileDrops(true);
    EXPECT_FALSE(enter(remote));
    drop(remote);
    EXPECT_TRUE(enter(files));
    drop(files);
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_EQ(drops[0], (std::vector<std::string>{"/tmp/a.bmp", "/tmp/b.gif"}));
}

}  // namespace
}  // namespace tess::qt
