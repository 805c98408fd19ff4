#include "platform/qt/SelectionMimeData.h"

#include <new>

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
    // Asked for by another program, from inside Qt: running out of memory gives it nothing.
    try {
        if (type.id() == QMetaType::QString)
            return box_->selectedText();
        return box_->selectedText().toUtf8();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace tess::qt
