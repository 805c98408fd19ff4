#pragma once

#include <QWidget>

namespace tess {

// The window's hourglass while a handler works; it goes when the handler ends, or earlier, before
// a message box, by restore().
class Hourglass {
  public:
    explicit Hourglass(QWidget& window) : window_(window) { window_.setCursor(Qt::WaitCursor); }
    ~Hourglass() { restore(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
    void restore() { window_.unsetCursor(); }

  private:
    QWidget& window_;
};

}  // namespace tess
