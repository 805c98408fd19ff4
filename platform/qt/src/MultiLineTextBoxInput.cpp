#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QInputMethod>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QStyleHints>
#include <QTextBoundaryFinder>
#include <QTextLine>
#include <algorithm>
#include <new>

#include "platform/qt/MultiLineTextBox.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SelectionMimeData.h"

// What the box does with keys, the mouse, input methods, its menu and drops.
namespace tess::qt {

namespace {

// How often a drag out of the box scrolls it.
constexpr int kDragScrollMs = 50;

}  // namespace

std::size_t MultiLineTextBox::moved(std::size_t place, Move move) const {
    const std::size_t size = store_.size();
    switch (move) {
        case Move::Start:
            return 0;
        case Move::End:
            return size;
        case Move::Left:
        case Move::WordLeft: {
            if (place == 0)
                return 0;
            const auto mode =
                move == Move::Left ? QTextLayout::SkipCharacters : QTextLayout::SkipWords;
            Part part = partHolding(place);
            if (place == part.from) {
                if (part.index == 0)
                    return store_.lineEnd(part.line - 1);  // over the line end before
                part = partOf(part.line, part.index - 1);
            }
            const auto local = static_cast<int>(place - part.from);
            return part.from +
                   static_cast<std::size_t>(layoutOf(part).previousCursorPosition(local, mode));
        }
        case Move::Right:
        case Move::WordRight: {
            if (place >= size)
                return size;
            const Part part = partHolding(place);
            if (place >= part.to)  // over the line end after
                return part.line + 1 < store_.lineCount() ? store_.lineStart(part.line + 1) : size;
            const auto mode =
                move == Move::Right ? QTextLayout::SkipCharacters : QTextLayout::SkipWords;
            const auto local = static_cast<int>(place - part.from);
            return part.from +
                   static_cast<std::size_t>(layoutOf(part).nextCursorPosition(local, mode));
        }
        case Move::RowStart: {
            const Row row = rowOf(place);
            const Part part = partAt(row.segment);
            return part.from + static_cast<std::size_t>(layoutOf(part).lineAt(row.row).textStart());
        }
        case Move::RowEnd: {
            const Row row = rowOf(place);
            return rowEnd(partAt(row.segment), row.row);
        }
        case Move::Up:
        case Move::Down:
        case Move::PageUp:
        case Move::PageDown:
            break;
    }
    // Up and down keep to the x the caret had before it first moved so.
    Row row = rowOf(place);
    Part part = partAt(row.segment);
    const qreal x =
        wantedX_ >= 0
            ? wantedX_
            : layoutOf(part).lineAt(row.row).cursorToX(static_cast<int>(place - part.from));
    const bool up = move == Move::Up || move == Move::PageUp;
    const int steps = move == Move::Up || move == Move::Down ? 1 : std::max(1, rowsInView() - 1);
    int taken = 0;
    while (taken < steps && (up ? previousRow(row) : nextRow(row)))
        ++taken;
    if (taken == 0)
        return up ? 0 : size;
    part = partAt(row.segment);
    const std::size_t at =
        part.from + static_cast<std::size_t>(layoutOf(part).lineAt(row.row).xToCursor(x));
    return std::min(at, rowEnd(part, row.row));
}

void MultiLineTextBox::setCaret(std::size_t place, bool select) {
    place = valid(place);
    if (!select || place == anchor_)
        keepOffer();
    endDeletionRun();
    caret_ = place;
    if (!select)
        anchor_ = caret_;
    ensureCaretVisible();
    startBlinking();
    tellCaret();
}

void MultiLineTextBox::moveCaret(Move move, bool select) {
    const bool vertical =
        move == Move::Up || move == Move::Down || move == Move::PageUp || move == Move::PageDown;
    std::size_t place = caret_;
    if (!select && hasSelection() && (move == Move::Left || move == Move::Right)) {
        place = move == Move::Left ? selectionStart() : selectionEnd();
    } else {
        if (vertical && wantedX_ < 0) {
            const Row row = rowOf(caret_);
            const Part part = partAt(row.segment);
            wantedX_ =
                layoutOf(part).lineAt(row.row).cursorToX(static_cast<int>(caret_ - part.from));
        }
        place = moved(caret_, move);
    }
    const qreal keptX = wantedX_;
    if (move == Move::PageUp || move == Move::PageDown)
        scrollRows(move == Move::PageUp ? -(rowsInView() - 1) : rowsInView() - 1);
    setCaret(place, select);
    wantedX_ = vertical ? keptX : -1;
    if (select)
        offerSelection();
}

bool MultiLineTextBox::isTyping(const QKeyEvent* event) {
    const QString text = event->text();
    if (text.isEmpty())
        return false;
    // Ctrl without Alt makes a shortcut; Ctrl with Alt may be AltGr typing a character.
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ControlModifier) && !(modifiers & Qt::AltModifier))
        return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) {
        return c.category() != QChar::Other_Control || c == QLatin1Char('\t');
    });
}

// The keys that change the text; false for those that do not (or when the box is read-only).
bool MultiLineTextBox::handleEdit(QKeyEvent* event) {
    if (readOnly_)
        return false;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event == QKeySequence::Undo) {
        undo();
    } else if (event == QKeySequence::Redo) {
        redo();
    } else if (event == QKeySequence::Cut) {
        cut();
    } else if (event == QKeySequence::Paste) {
        paste();
    } else if (event == QKeySequence::DeleteStartOfWord) {
        if (hasSelection())
            replaceSelection({});
        else
            change(moved(caret_, Move::WordLeft), caret_ - moved(caret_, Move::WordLeft), {});
    } else if (event == QKeySequence::DeleteEndOfWord) {
        if (hasSelection())
            replaceSelection({});
        else
            change(caret_, moved(caret_, Move::WordRight) - caret_, {});
    } else if (event->key() == Qt::Key_Backspace && !(modifiers & ~Qt::ShiftModifier)) {
        if (hasSelection()) {
            replaceSelection({});
        } else if (caret_ > 0) {
            // A line end goes whole; otherwise one character (a surrogate pair together).
            const std::size_t line = store_.lineOf(caret_);
            std::size_t from = caret_ - 1;
            if (line > 0 && caret_ == store_.lineStart(line))
                from = store_.lineEnd(line - 1);
            else if (from > 0 && QChar::isLowSurrogate(store_.at(from)) &&
                     QChar::isHighSurrogate(store_.at(from - 1)))
                --from;
            change(from, caret_ - from, {}, Run::Backspace);
        }
    } else if (event == QKeySequence::Delete ||
               (event->key() == Qt::Key_Delete && !(modifiers & ~Qt::ShiftModifier))) {
        if (hasSelection())
            replaceSelection({});
        else
            change(caret_, moved(caret_, Move::Right) - caret_, {}, Run::Delete);
    } else if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
               !(modifiers & ~Qt::ShiftModifier)) {
        replaceSelection(u"\r\n");
    } else if (event->key() == Qt::Key_Tab && modifiers == Qt::NoModifier) {
        replaceSelection(u"\t", Run::Typed);
    } else if (isTyping(event)) {
        replaceSelection(utf16Of(event->text()), Run::Typed);
    } else {
        return false;
    }
    return true;
}

void MultiLineTextBox::keyPressEvent(QKeyEvent* event) {
    if (handleEdit(event))
        return;
    static const struct {
        QKeySequence::StandardKey move, select;
        Move to;
    } moves[] = {
        {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::Left},
        {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::Right},
        {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Move::WordLeft},
        {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Move::WordRight},
        {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Move::Up},
        {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Move::Down},
        {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Move::PageUp},
        {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Move::PageDown},
        {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::RowStart},
        {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::RowEnd},
        {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Move::Start},
        {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Move::End},
    };
    for (const auto& move : moves) {
        if (event == move.move || event == move.select) {
            moveCaret(move.to, event == move.select);
            return;
        }
    }
    if (event == QKeySequence::SelectAll)
        selectAll();
    else if (event == QKeySequence::Copy)
        copy();
    else
        event->ignore();
}

bool MultiLineTextBox::event(QEvent* event) {
    // Keys the box takes go to it before the window's shortcuts (the main window has Ctrl+C,
    // Ctrl+V and Ctrl+Z of its own).
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        for (const QKeySequence::StandardKey taken :
             {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::Undo,
              QKeySequence::Redo, QKeySequence::SelectAll, QKeySequence::Delete,
              QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
              QKeySequence::MoveToPreviousWord, QKeySequence::MoveToNextWord,
              QKeySequence::SelectPreviousWord, QKeySequence::SelectNextWord,
              QKeySequence::MoveToStartOfDocument, QKeySequence::MoveToEndOfDocument,
              QKeySequence::SelectStartOfDocument, QKeySequence::SelectEndOfDocument}) {
            if (key == taken) {
                event->accept();
                return true;
            }
        }
        // Alt without Ctrl, or Meta, makes a mnemonic or a shortcut of the window: those go first.
        const Qt::KeyboardModifiers modifiers = key->modifiers();
        const bool shortcutKey =
            (modifiers & Qt::MetaModifier) ||
            ((modifiers & Qt::AltModifier) && !(modifiers & Qt::ControlModifier));
        if ((isTyping(key) && !shortcutKey) || key->key() == Qt::Key_Backspace) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void MultiLineTextBox::inputMethodEvent(QInputMethodEvent* event) {
    if (readOnly_) {
        event->ignore();
        return;
    }
    if (!event->commitString().isEmpty())
        replaceSelection(utf16Of(event->commitString()), Run::Typed);
    preedit_ = event->preeditString();
    preeditCaret_ = static_cast<int>(preedit_.size());
    for (const QInputMethodEvent::Attribute& attribute : event->attributes())
        if (attribute.type == QInputMethodEvent::Cursor)
            preeditCaret_ = std::clamp(attribute.start, 0, static_cast<int>(preedit_.size()));
    viewport()->update();
    event->accept();
}

QVariant MultiLineTextBox::inputMethodQuery(Qt::InputMethodQuery query) const {
    switch (query) {
        case Qt::ImEnabled:
            return !readOnly_;
        case Qt::ImCursorRectangle:
            return placeRect(caret_).translated(viewport()->pos());
        case Qt::ImFont:
            return font();
        case Qt::ImCursorPosition:
            return static_cast<int>(caret_ - partHolding(caret_).from);
        case Qt::ImSurroundingText: {
            const Part part = partHolding(caret_);
            return textBetween(part.from, part.to);
        }
        case Qt::ImHints:
            return static_cast<int>(inputMethodHints());
        default:
            return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void MultiLineTextBox::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // A click ends what an input method is composing, where it was.
    if (!preedit_.isEmpty())
        QGuiApplication::inputMethod()->commit();
    selectingWithMouse_ = true;
    lastMouse_ = event->position().toPoint();
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    // A press soon after a double click and near it is the third click: it takes the line.
    const auto interval = static_cast<quint64>(
        std::max(0, QGuiApplication::styleHints()->mouseDoubleClickInterval()));
    const bool tripleClick =
        doubleClicked_ && !shift && event->timestamp() - doubleClickTime_ < interval &&
        (lastMouse_ - doubleClickPoint_).manhattanLength() < QApplication::startDragDistance();
    doubleClicked_ = false;
    if (tripleClick) {
        const auto [from, to] = lineAt(placeAt(lastMouse_));
        selectUnit(Unit::Line, from, to);
        return;
    }
    dragUnit_ = Unit::Character;
    setCaret(placeAt(lastMouse_), shift);
}

std::pair<std::size_t, std::size_t> MultiLineTextBox::wordAt(std::size_t place) const {
    const Part part = partHolding(place);
    const QString text = layoutOf(part).text();
    const auto local = static_cast<qsizetype>(place - part.from);
    QTextBoundaryFinder words(QTextBoundaryFinder::Word, text);
    words.setPosition(local);
    const qsizetype start = words.isAtBoundary() ? local : words.toPreviousBoundary();
    words.setPosition(local);
    const qsizetype end = words.toNextBoundary();
    return {part.from + static_cast<std::size_t>(std::max<qsizetype>(start, 0)),
            part.from + static_cast<std::size_t>(end < 0 ? text.size() : end)};
}

std::pair<std::size_t, std::size_t> MultiLineTextBox::lineAt(std::size_t place) const {
    const std::size_t line = store_.lineOf(place);
    const std::size_t end =
        line + 1 < store_.lineCount() ? store_.lineStart(line + 1) : store_.size();
    return {store_.lineStart(line), end};
}

void MultiLineTextBox::selectUnit(Unit unit, std::size_t from, std::size_t to) {
    if (from == to)
        keepOffer();
    dragUnit_ = unit;
    unitFrom_ = from;
    unitTo_ = to;
    anchor_ = from;
    setCaret(to, true);
    offerSelection();
}

void MultiLineTextBox::dragTo(const QPoint& point) {
    if (dragUnit_ == Unit::Character) {
        setCaret(placeAt(point), true);
        return;
    }
    // Over a character, its word or line joins the one clicked, on whichever side it lies.
    const std::size_t place = placeAt(point, QTextLine::CursorOnCharacter);
    std::size_t from = unitFrom_;
    std::size_t to = unitTo_;
    if (place < unitFrom_ || place >= unitTo_) {
        const auto [start, end] = dragUnit_ == Unit::Word ? wordAt(place) : lineAt(place);
        from = place < unitFrom_ ? unitTo_ : unitFrom_;
        to = place < unitFrom_ ? start : end;
    }
    anchor_ = from;
    setCaret(to, true);
}

void MultiLineTextBox::mouseMoveEvent(QMouseEvent* event) {
    if (!selectingWithMouse_ || !(event->buttons() & Qt::LeftButton))
        return;
    lastMouse_ = event->position().toPoint();
    const bool outside = lastMouse_.y() < 0 || lastMouse_.y() >= viewport()->height();
    if (outside && !dragScroll_.isActive())
        dragScroll_.start(kDragScrollMs, this);
    else if (!outside)
        dragScroll_.stop();
    dragTo(lastMouse_);
}

void MultiLineTextBox::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && selectingWithMouse_) {
        selectingWithMouse_ = false;
        dragScroll_.stop();
        offerSelection();
    } else if (event->button() == Qt::MiddleButton && !readOnly_ && selection_->supported()) {
        // The desktop's middle-click paste of what is selected anywhere, this box included: it
        // is read before the click takes the box's own selection away.
        try {
            const QString text = selection_->text();
            setCaret(placeAt(event->position().toPoint()), false);
            if (!text.isEmpty())
                replaceSelection(utf16Of(text));
        } catch (const std::bad_alloc&) {
            QApplication::beep();
        }
    }
}

void MultiLineTextBox::offerSelection() {
    if (!hasSelection() || !selection_->supported())
        return;
    offer_ = new SelectionMimeData(this);
    selection_->offer(offer_);
}

void MultiLineTextBox::keepOffer() {
    if (offer_ == nullptr)
        return;
    // A huge selection is not copied: it stays offered from the box, as what the box selects.
    if (hasSelection() && selectionLength() <= SelectionMimeData::kMostKept) {
        try {
            offer_->keep(selectedText());
        } catch (const std::bad_alloc&) {
        }
    }
    offer_ = nullptr;
}

void MultiLineTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    // The word the pointer is on, even over the right half of its last letter; a drag with the
    // button still down goes on by words.
    const QPoint point = event->position().toPoint();
    const auto [from, to] = wordAt(placeAt(point, QTextLine::CursorOnCharacter));
    selectingWithMouse_ = true;
    lastMouse_ = point;
    doubleClicked_ = true;
    doubleClickTime_ = event->timestamp();
    doubleClickPoint_ = point;
    selectUnit(Unit::Word, from, to);
}

void MultiLineTextBox::wheelEvent(QWheelEvent* event) {
    // Three rows a notch, as the desktop scrolls text.
    wheelDelta_ += event->angleDelta().y();
    const int rows = wheelDelta_ / 40;
    wheelDelta_ -= rows * 40;
    scrollRows(-rows);
    event->accept();
}

// Whether the clipboard holds text, without taking a copy of it.
bool MultiLineTextBox::canPaste() {
    const QMimeData* data = QApplication::clipboard()->mimeData();
    return data != nullptr && data->hasText();
}

void MultiLineTextBox::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const auto add = [&](const QString& text, QKeySequence::StandardKey key, bool enabled,
                         void (MultiLineTextBox::*slot)()) {
        QAction* action = menu.addAction(text, this, slot);
        action->setShortcut(key);
        action->setEnabled(enabled);
    };
    const bool editable = !readOnly_;
    add(tr("&Undo"), QKeySequence::Undo, editable && isUndoAvailable(), &MultiLineTextBox::undo);
    add(tr("&Redo"), QKeySequence::Redo, editable && isRedoAvailable(), &MultiLineTextBox::redo);
    menu.addSeparator();
    add(tr("Cu&t"), QKeySequence::Cut, editable && hasSelection(), &MultiLineTextBox::cut);
    add(tr("&Copy"), QKeySequence::Copy, hasSelection(), &MultiLineTextBox::copy);
    add(tr("&Paste"), QKeySequence::Paste, editable && canPaste(), &MultiLineTextBox::paste);
    QAction* remove = menu.addAction(tr("Delete"), this, [this] { replaceSelection({}); });
    remove->setEnabled(editable && hasSelection());
    menu.addSeparator();
    add(tr("Select All"), QKeySequence::SelectAll, store_.size() > 0, &MultiLineTextBox::selectAll);
    menu.exec(event->globalPos());
}

void MultiLineTextBox::dragEnterEvent(QDragEnterEvent* event) {
    dragMoveEvent(event);
}

void MultiLineTextBox::dragMoveEvent(QDragMoveEvent* event) {
    if (!readOnly_ && event->mimeData()->hasText())
        event->acceptProposedAction();
    else
        event->ignore();
}

void MultiLineTextBox::dropEvent(QDropEvent* event) {
    if (readOnly_ || !event->mimeData()->hasText()) {
        event->ignore();
        return;
    }
    keepOffer();
    caret_ = anchor_ = placeAt(event->position().toPoint());
    try {
        replaceSelection(utf16Of(event->mimeData()->text()));
    } catch (const std::bad_alloc&) {
        QApplication::beep();
    }
    event->acceptProposedAction();
}

void MultiLineTextBox::startBlinking() {
    caretShown_ = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash >= 2)
        blink_.start(flash / 2, this);
    else
        blink_.stop();
    viewport()->update();
}

void MultiLineTextBox::focusInEvent(QFocusEvent* event) {
    startBlinking();
    QAbstractScrollArea::focusInEvent(event);
}

void MultiLineTextBox::focusOutEvent(QFocusEvent* event) {
    // A menu or a window that opens during a drag takes the button's release: the drag ends here,
    // or it would go on scrolling and selecting.
    if (selectingWithMouse_) {
        selectingWithMouse_ = false;
        dragScroll_.stop();
        offerSelection();
    }
    blink_.stop();
    caretShown_ = false;
    viewport()->update();
    QAbstractScrollArea::focusOutEvent(event);
}

void MultiLineTextBox::timerEvent(QTimerEvent* event) {
    if (event->timerId() == blink_.timerId()) {
        caretShown_ = !caretShown_;
        viewport()->update();
    } else if (event->timerId() == dragScroll_.timerId()) {
        scrollRows(lastMouse_.y() < 0 ? -1 : 1);
        dragTo(lastMouse_);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}

// Tab types a tab into the text rather than moving the focus on.
bool MultiLineTextBox::focusNextPrevChild(bool next) {
    return readOnly_ ? QAbstractScrollArea::focusNextPrevChild(next) : false;
}

bool MultiLineTextBox::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::Resize) {
        if (viewport()->width() != laidOutWidth_)
            forgetLayouts();
        updateScrollBar();
    }
    return QAbstractScrollArea::viewportEvent(event);
}

void MultiLineTextBox::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        rowHeight_ = std::max(1, fontMetrics().lineSpacing());
        forgetLayouts();
        updateScrollBar();
    }
    viewport()->update();
    QAbstractScrollArea::changeEvent(event);
}

}  // namespace tess::qt
