#include "platform/qt/MultiLineTextBoxAccessible.h"

#include <QTextBoundaryFinder>
#include <algorithm>
#include <new>

#include "platform/qt/MultiLineTextBox.h"

namespace tess::qt {

namespace {

// The most characters either side of a place that text about it is looked for in.
constexpr std::size_t kAround = 4096;

QAccessibleInterface* forBox(const QString& className, QObject* object) {
    if (className == QLatin1String(MultiLineTextBox::staticMetaObject.className()) &&
        object != nullptr && object->isWidgetType())
        return new MultiLineTextBoxAccessible(static_cast<MultiLineTextBox*>(object));
    return nullptr;
}

}  // namespace

MultiLineTextBoxAccessible::MultiLineTextBoxAccessible(MultiLineTextBox* box)
    : QAccessibleWidget(box, QAccessible::EditableText) {}

void MultiLineTextBoxAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(&forBox);
        return true;
    }();
    (void)installed;
}

MultiLineTextBox* MultiLineTextBoxAccessible::box() const {
    return static_cast<MultiLineTextBox*>(widget());
}

void* MultiLineTextBoxAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State MultiLineTextBoxAccessible::state() const {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !box()->isReadOnly();
    state.readOnly = box()->isReadOnly();
    state.multiLine = true;
    state.selectableText = true;
    return state;
}

QString MultiLineTextBoxAccessible::text(QAccessible::Text kind) const {
    // The value is the text itself, read through the text interface a part at a time.
    if (kind == QAccessible::Value)
        return {};
    if (kind == QAccessible::Name && widget()->accessibleName().isEmpty())
        return widget()->toolTip();
    return QAccessibleWidget::text(kind);
}

void MultiLineTextBoxAccessible::selection(int selectionIndex, int* startOffset,
                                           int* endOffset) const {
    const bool has = selectionIndex == 0 && box()->hasSelection();
    *startOffset = has ? static_cast<int>(box()->selectionStart()) : 0;
    *endOffset = has ? static_cast<int>(box()->selectionEnd()) : 0;
}

int MultiLineTextBoxAccessible::selectionCount() const {
    return box()->hasSelection() ? 1 : 0;
}

void MultiLineTextBoxAccessible::addSelection(int startOffset, int endOffset) {
    setSelection(0, startOffset, endOffset);
}

void MultiLineTextBoxAccessible::removeSelection(int selectionIndex) {
    if (selectionIndex == 0)
        box()->setCursorPosition(box()->cursorPosition());
}

void MultiLineTextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
    if (selectionIndex == 0)
        box()->setSelection(startOffset, endOffset);
}

int MultiLineTextBoxAccessible::cursorPosition() const {
    return static_cast<int>(box()->cursorPosition());
}

void MultiLineTextBoxAccessible::setCursorPosition(int position) {
    box()->setCursorPosition(position);
}

QString MultiLineTextBoxAccessible::text(int startOffset, int endOffset) const {
    const std::size_t size = box()->store_.size();
    const std::size_t from = std::min<std::size_t>(std::max(startOffset, 0), size);
    const std::size_t to = std::clamp<std::size_t>(std::max(endOffset, 0), from, size);
    // Asked for by an assistive program, from inside Qt: running out of memory gives it nothing.
    try {
        return box()->textBetween(from, to);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

int MultiLineTextBoxAccessible::characterCount() const {
    return static_cast<int>(box()->length());
}

QString MultiLineTextBoxAccessible::textAtOffset(int offset,
                                                 QAccessible::TextBoundaryType boundaryType,
                                                 int* startOffset, int* endOffset) const {
    const TextStore& store = box()->store_;
    const std::size_t size = store.size();
    *startOffset = *endOffset = -1;
    if (offset < 0 || static_cast<std::size_t>(offset) > size)
        return {};
    const auto place = static_cast<std::size_t>(offset);
    if (boundaryType == QAccessible::NoBoundary) {
        *startOffset = 0;
        *endOffset = static_cast<int>(size);
        return text(0, *endOffset);
    }
    // The line of the place, its line end included, cut to kAround either side.
    const std::size_t line = store.lineOf(place);
    const std::size_t lineStart = store.lineStart(line);
    const std::size_t lineEnd = line + 1 < store.lineCount() ? store.lineStart(line + 1) : size;
    const std::size_t from = std::max(lineStart, place > kAround ? place - kAround : 0);
    const std::size_t to = std::min(lineEnd, place + kAround);
    if (boundaryType == QAccessible::LineBoundary ||
        boundaryType == QAccessible::ParagraphBoundary) {
        *startOffset = static_cast<int>(from);
        *endOffset = static_cast<int>(to);
        return text(*startOffset, *endOffset);
    }
    if (place == size)
        return {};
    const QString around = text(static_cast<int>(from), static_cast<int>(to));
    const auto kind = boundaryType == QAccessible::CharBoundary   ? QTextBoundaryFinder::Grapheme
                      : boundaryType == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                                  : QTextBoundaryFinder::Sentence;
    QTextBoundaryFinder finder(kind, around);
    const auto local = static_cast<qsizetype>(place - from);
    finder.setPosition(local);
    qsizetype start = finder.isAtBoundary() ? local : finder.toPreviousBoundary();
    finder.setPosition(local);
    qsizetype end = finder.toNextBoundary();
    start = std::max<qsizetype>(start, 0);
    end = end < 0 ? around.size() : end;
    *startOffset = static_cast<int>(from + static_cast<std::size_t>(start));
    *endOffset = static_cast<int>(from + static_cast<std::size_t>(end));
    return around.mid(start, end - start);
}

QString MultiLineTextBoxAccessible::textBeforeOffset(int offset,
                                                     QAccessible::TextBoundaryType boundaryType,
                                                     int* startOffset, int* endOffset) const {
    int start = -1;
    int end = -1;
    textAtOffset(offset, boundaryType, &start, &end);
    *startOffset = *endOffset = -1;
    if (start <= 0)
        return {};
    return textAtOffset(start - 1, boundaryType, startOffset, endOffset);
}

QString MultiLineTextBoxAccessible::textAfterOffset(int offset,
                                                    QAccessible::TextBoundaryType boundaryType,
                                                    int* startOffset, int* endOffset) const {
    int start = -1;
    int end = -1;
    textAtOffset(offset, boundaryType, &start, &end);
    *startOffset = *endOffset = -1;
    if (end < 0 || end >= characterCount())
        return {};
    return textAtOffset(end, boundaryType, startOffset, endOffset);
}

QRect MultiLineTextBoxAccessible::characterRect(int offset) const {
    if (offset < 0 || offset > characterCount())
        return {};
    const QRect inView = box()->placeRect(box()->valid(static_cast<std::size_t>(offset)));
    return {box()->viewport()->mapToGlobal(inView.topLeft()), inView.size()};
}

int MultiLineTextBoxAccessible::offsetAtPoint(const QPoint& point) const {
    const QPoint inView = box()->viewport()->mapFromGlobal(point);
    if (!box()->viewport()->rect().contains(inView))
        return -1;
    return static_cast<int>(box()->placeAt(inView));
}

void MultiLineTextBoxAccessible::scrollToSubstring(int startIndex, int) {
    box()->setCursorPosition(startIndex);
}

QString MultiLineTextBoxAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
    // One font and colour throughout.
    *startOffset = 0;
    *endOffset = characterCount();
    (void)offset;
    return {};
}

}  // namespace tess::qt
