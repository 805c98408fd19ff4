#include "platform/qt/SelectionClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace tess::qt {

namespace {

class DesktopSelection : public SelectionClipboard {
  public:
    bool supported() const override { return QGuiApplication::clipboard()->supportsSelection(); }
    QString text() const override {
        return QGuiApplication::clipboard()->text(QClipboard::Selection);
    }
    void offer(QMimeData* data) override {
        QGuiApplication::clipboard()->setMimeData(data, QClipboard::Selection);
    }
};

}  // namespace

SelectionClipboard& SelectionClipboard::desktop() {
    static DesktopSelection selection;
    return selection;
}

}  // namespace tess::qt
