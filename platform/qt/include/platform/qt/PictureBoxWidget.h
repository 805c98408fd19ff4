#pragma once

#include <QWidget>
#include <string>
#include <vector>

#include "platform/PictureBox.h"

class QKeyEvent;
class QMimeData;

namespace tess::qt {

// Shows a PictureBox: its drawn surface 1:1 at the top-left, the back colour around it. The widget
// never resizes itself; its owner places it (sizeHint() is the surface's size).
//
// Mouse signals use the original numbering: button 1 left, 2 right, 4 middle; shift 1 Shift,
// 2 Ctrl, 4 Alt; x and y in pixels from the top-left. The order of a double click follows it too:
// press, release, clicked, doubleClicked, release (no second press or click).
//
// Drawing on box() does not repaint by itself: call Refresh() (now) or update() (later).
// paintRequested() is emitted before each paint, for owners that draw the surface on demand.
// Keyboard focus is off, as for any QWidget: owners that want it call setFocusPolicy(). A key
// handler accepts the event to swallow the key; an ignored key goes on to the parent.
class PictureBoxWidget : public QWidget {
    Q_OBJECT
  public:
    explicit PictureBoxWidget(QWidget* parent = nullptr, Colour backColor = syscolour::ButtonFace,
                              Colour foreColor = syscolour::ButtonText);

    PictureBox& box() { return box_; }
    const PictureBox& box() const { return box_; }

    // Repaints at once.
    void Refresh();

    // Dropping files from the desktop onto the widget (off by default).
    void setAcceptsFileDrops(bool accepts) { setAcceptDrops(accepts); }

    QSize sizeHint() const override;

    // The local files of a drag, in the drag's order; addresses that are not local files are left
    // out.
    static std::vector<std::string> localFiles(const QMimeData* data);
    // A mouse button and the held keys in the original numbering (see above), for other controls'
    // mouse events.
    static int buttonCode(Qt::MouseButton button);
    static int shiftCode(Qt::KeyboardModifiers modifiers);

  signals:
    void mousePressed(int button, int shift, int x, int y);
    void mouseReleased(int button, int shift, int x, int y);
    void mouseMoved(int button, int shift, int x, int y);
    void clicked();
    void doubleClicked();
    void keyPressed(QKeyEvent* event);
    void keyReleased(QKeyEvent* event);
    void focusEntered();
    void focusLeft();
    void filesDropped(const std::vector<std::string>& paths);
    void paintRequested();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    PictureBox box_;
    bool releaseEndsDoubleClick_ = false;
};

}  // namespace tess::qt
