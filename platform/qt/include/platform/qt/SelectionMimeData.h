#pragma once

#include <QMimeData>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <cstddef>

namespace tess::qt {

class MultiLineTextBox;

// The desktop's selection clipboard (a middle click pastes it) for a text box: it offers the
// text selected in the box when another program asks, not a copy made at every change of the
// selection, which may be the whole of a long text. Once the selection goes, the box has it keep
// a copy, so it stays on offer as a selection does in every other box; a selection longer than
// kMostKept stays offered from the box, as whatever the box then has selected.
class SelectionMimeData : public QMimeData {
  public:
    // 2 Mi characters: 4 MiB of UTF-16.
    static constexpr std::size_t kMostKept = std::size_t{1} << 21;

    explicit SelectionMimeData(const MultiLineTextBox* box);

    // Offers `text`, the box's selection before it went, and no longer reads the box.
    void keep(QString text);

    bool hasFormat(const QString& mimeType) const override;
    QStringList formats() const override;

  protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

  private:
    bool offers() const { return box_ != nullptr || kept_; }

    QPointer<const MultiLineTextBox> box_;
    bool kept_ = false;
    QString text_;
};

}  // namespace tess::qt
