#pragma once

#include <QMimeData>
#include <QPointer>
#include <QStringList>
#include <QVariant>

namespace tess::qt {

class MultiLineTextBox;

// The desktop's selection clipboard (a middle click pastes it) for a text box: it offers the
// text selected in the box when another program asks, not a copy made at every change of the
// selection, which may be the whole of a long text.
class SelectionMimeData : public QMimeData {
  public:
    explicit SelectionMimeData(const MultiLineTextBox* box);

    bool hasFormat(const QString& mimeType) const override;
    QStringList formats() const override;

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    QPointer<const MultiLineTextBox> box_;
};

}  // namespace tess::qt
