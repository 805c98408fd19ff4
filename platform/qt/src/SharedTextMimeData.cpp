#include "platform/qt/SharedTextMimeData.h"

#include <QByteArray>
#include <utility>

#include "platform/qt/QtText.h"

namespace tess::qt {

const QString& SharedTextMimeData::plainText() {
    static const QString type = QStringLiteral("text/plain");
    return type;
}

SharedTextMimeData::SharedTextMimeData(std::shared_ptr<const std::string> utf8)
    : utf8_(std::move(utf8)) {}

bool SharedTextMimeData::hasFormat(const QString& mimeType) const {
    return mimeType == plainText();
}

QStringList SharedTextMimeData::formats() const {
    return {plainText()};
}

QVariant SharedTextMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (mimeType != plainText()) {
        return {};
    }
    if (type.id() == QMetaType::QString) {
        return toQ(*utf8_);
    }
    return QByteArray(utf8_->data(), static_cast<qsizetype>(utf8_->size()));
}

}  // namespace tess::qt
