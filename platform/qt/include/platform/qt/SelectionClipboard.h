#pragma once

#include <QMimeData>
#include <QString>

namespace tess::qt {

// The desktop's selection clipboard, which holds what was selected last anywhere and which a
// middle click pastes (X11 has one; other desktops none). A text box is handed one in memory by
// its tests, where the platform has none.
class SelectionClipboard {
  public:
    virtual ~SelectionClipboard() = default;

    virtual bool supported() const = 0;
    virtual QString text() const = 0;
    // Takes `data` and offers it, dropping (deleting) what it offered before.
    virtual void offer(QMimeData* data) = 0;

    // QClipboard's selection.
    static SelectionClipboard& desktop();
};

}  // namespace tess::qt
