#include "platform/qt/SelectionMimeData.h"

#include "platform/qt/MultiLineTextBox.h"
#include "platform/qt/SharedTextMimeData.h"

namespace tess::qt {

SelectionMimeData::SelectionMimeData(const MultiLineTextBox* box) : box_(box) {}

bool SelectionMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == SharedTextMimeData::plainText() && box_ != nullptr;
}

QStringList SelectionMimeData::formats() const {
    return box_ != nullptr ? QStringList{SharedTextMimeData::plainText()} : QStringList{};
}

QVariant SelectionMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType != SharedTextMimeData::plainText() || box_ == nullptr)
        return {};
    if (type.id() == QMetaType::QString)
        return box_->selectedText();
    return box_->selectedText().toUtf8();
}

}  // namespace tess::qt
