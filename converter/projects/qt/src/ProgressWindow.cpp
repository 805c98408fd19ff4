#include "projects/qt/ProgressWindow.h"

#include <QLabel>
#include <utility>

#include "platform/EventPump.h"
#include "platform/qt/QtText.h"

namespace tess {

ProgressWindow::ProgressWindow(ProgressWindowLinks links) : links_(std::move(links)) {}

ProgressWindow::~ProgressWindow() {
    unload();
}

frmSLProj& ProgressWindow::form() {
    if (form_.isNull())
        form_ = new frmSLProj(links_);
    return *form_;
}

void ProgressWindow::setLines(const std::string& action, const std::string& subject,
                              const std::string& step) {
    frmSLProj& f = form();
    f.Label1->setText(qt::toQ(action));
    f.Label2->setText(qt::toQ(subject));
    f.Label3->setText(qt::toQ(step));
}

void ProgressWindow::show(QWidget& owner) {
    frmSLProj& f = form();
    if (f.parentWidget() != &owner)
        f.setParent(&owner, f.windowFlags());
    const QRect frame = owner.frameGeometry();
    f.move(frame.center() - QPoint(f.width() / 2, f.height() / 2));
    f.show();
    yield();
}

void ProgressWindow::step(const std::string& text) {
    form().Label3->setText(qt::toQ(text));
    yield();
}

void ProgressWindow::unload() {
    if (form_.isNull())
        return;
    frmSLProj* f = form_.data();
    form_.clear();
    f->Form_Unload();
    delete f;
}

void ProgressWindow::yield() {
    if (links_.pump)
        links_.pump->doEvents();
}

}  // namespace tess
