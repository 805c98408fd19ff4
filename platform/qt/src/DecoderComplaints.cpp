#include "platform/qt/DecoderComplaints.h"

#include <QMessageLogContext>
#include <cstring>

namespace tess {

thread_local DecoderComplaints* DecoderComplaints::active_ = nullptr;
std::atomic<QtMessageHandler> DecoderComplaints::passOn_{nullptr};

DecoderComplaints::DecoderComplaints()
    : previous_(qInstallMessageHandler(&DecoderComplaints::handle)) {
    active_ = this;
    // Where the lives of two overlap, the second finds the first's handler, which is this one:
    // passing on to it would come back here.
    if (previous_ != &DecoderComplaints::handle) {
        passOn_ = previous_;
    }
}

DecoderComplaints::~DecoderComplaints() {
    active_ = nullptr;
    qInstallMessageHandler(previous_);
}

void DecoderComplaints::handle(QtMsgType type, const QMessageLogContext& context,
                               const QString& text) {
    DecoderComplaints* self = active_;
    if (self != nullptr && type == QtWarningMsg && context.category != nullptr &&
        std::strncmp(context.category, "qt.gui.imageio", 14) == 0) {
        self->any_ = true;
        if (self->first_.empty()) {
            self->first_ = text.toStdString();
        }
        return;
    }
    const QtMessageHandler previous = passOn_.load();
    if (previous != nullptr) {
        previous(type, context, text);
    }
}

}  // namespace tess
