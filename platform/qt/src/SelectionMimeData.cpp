#include "platform/qt/SelectionMimeData.h"

#include <new>
#include <utility>

#include "platform/qt/MultiLineTextBox.h"
#include "platform/qt/SharedTextMimeData.h"

namespace tess::qt {

SelectionMimeData::SelectionMimeData(const MultiLineTextBox* box) : box_(box) {}

void SelectionMimeData::keep(QString text) {
    text_ = std::move(text);
    kept_ = true;
    box_ = nullptr;
}

bool SelectionMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == SharedTextMimeData::plainText() && offers();
}

QStringList SelectionMimeData::formats() const {
    return offers() ? QStringList{SharedTextMimeData::plainText()} : QStringList{};
}

QVariant SelectionMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType != SharedTextMimeData::plainText() || !offers())
        return {};
    // Asked for by another program, from inside Qt: running out of memory gives it nothing.
    try {
        const QString text = kept_ ? text_ : box_->selectedText();
        if (type.id() == QMetaType::QString)
            return text;
        return text.toUtf8();
    } catch (const std::bad_alloc&) {
        return {};
    }
}

}  // namespace tess::qt
