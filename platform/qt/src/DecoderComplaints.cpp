#include "platform/qt/DecoderComplaints.h"

#include <QMessageLogContext>
#include <cstring>

namespace tess {

thread_local DecoderComplaints* DecoderComplaints::active_ = nullptr;

DecoderComplaints::DecoderComplaints()
    : previous_(qInstallMessageHandler(&DecoderComplaints::handle)) {
    active_ = this;
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
    const QtMessageHandler previous = self != nullptr ? self->previous_ : nullptr;
    if (previous != nullptr) {
        previous(type, context, text);
    }
}

}  // namespace tess
