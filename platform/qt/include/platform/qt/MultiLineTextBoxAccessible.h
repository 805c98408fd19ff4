#pragma once

#include <QAccessibleWidget>

namespace tess::qt {

class MultiLineTextBox;

// What screen readers and other assistive programs see of a MultiLineTextBox: an editable,
// multi-line text with its caret and selection. Text around a place is taken from its line (at
// most a few thousand characters either side), never from the whole of a long text.
class MultiLineTextBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit MultiLineTextBoxAccessible(MultiLineTextBox* box);
    // Makes Qt's accessibility use this class for every MultiLineTextBox.
    static void install();

    void* interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text kind) const override;

    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int* startOffset, int* endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int* startOffset, int* endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                         int* endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int* startOffset, int* endOffset) const override;

  private:
    MultiLineTextBox* box() const;
};

}  // namespace tess::qt
