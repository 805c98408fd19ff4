#pragma once

#include <QObject>
#include <string>
#include <vector>

class QWidget;

namespace tess {

// Gives a standard control the events the window's handlers need that Qt keeps inside the control:
// files dropped from the desktop (which a text box would otherwise insert as text) and the focus
// moving onto or off the control within the window, and clicks on controls that have no click
// of their own (labels), and mouse releases. Opening a menu or switching to another window
// does not count as leaving the control. The filter belongs to the control it watches.
class ControlEvents : public QObject {
    Q_OBJECT
  public:
    // Watches `control`; with `acceptFiles` the control (and, for a text box, its viewport) takes
    // dropped local files instead of its own drop handling.
    static ControlEvents* watch(QWidget* control, bool acceptFiles);

  signals:
    void filesDropped(const std::vector<std::string>& paths);
    void focusEntered();
    void focusLeft();
    // A left click: the button released over the control it was pressed on.
    void clicked();
    // Any mouse button released over the control, in the original numbering (button 1 left,
    // 2 right, 4 middle; shift 1 Shift, 2 Ctrl, 4 Alt), at pixels from its top-left.
    void mouseReleased(int button, int shift, int x, int y);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit ControlEvents(QWidget* control);

    bool acceptFiles_ = false;
};

}  // namespace tess
