#include "platform/qt/SelectionMimeData.h"

#include "platform/qt/MultiLineTextBox.h"

namespace tess::qt {

namespace {

const QString& textPlain() {
    static const QString type = QStringLiteral("text/plain");
    return type;
}

}  // namespace

SelectionMimeData::SelectionMimeData(const MultiLineTextBox* box) : box_(box) {}

bool SelectionMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == textPlain() && box_ != nullptr;
}

QStringList SelectionMimeData::formats() const {
    return box_ != nullptr ? QStringList{textPlain()} : QStringList{};
}

QVariant SelectionMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType != textPlain() || box_ == nullptr)
        return {};
    if (type.id() == QMetaType::QString)
        return box_->selectedText();
    return box_->selectedText().toUtf8();
}

}  // namespace tess::qt
