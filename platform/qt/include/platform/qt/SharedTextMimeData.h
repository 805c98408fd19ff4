#pragma once

#include <QMimeData>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <string>

namespace tess::qt {

// UTF-8 text on the clipboard, held by reference: a page of hundreds of megabytes is neither
// widened to UTF-16 nor copied when it is put there. It offers "text/plain" as QMimeData::setText
// does, and each reader (a paste here or in another program) gets its own copy when it asks, as
// UTF-8 bytes or as a QString.
class SharedTextMimeData : public QMimeData {
  public:
    explicit SharedTextMimeData(std::shared_ptr<const std::string> utf8);
    // "text/plain", the one format such data offers.
    static const QString& plainText();

    bool hasFormat(const QString& mimeType) const override;
    QStringList formats() const override;

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    std::shared_ptr<const std::string> utf8_;
};

}  // namespace tess::qt
