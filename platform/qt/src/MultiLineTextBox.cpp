#include "platform/qt/MultiLineTextBox.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QScrollBar>
#include <algorithm>
#include <new>

#include "platform/qt/MultiLineTextBoxAccessible.h"
#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

// A long UTF-8 text is turned into UTF-16 in parts of about this size, so only one part is held
// as UTF-16 beside the box's text.
constexpr std::size_t kPartBytes = std::size_t{1} << 20;

// Where a piece handed over can end so that the next one starts a character: not after a CR
// (its LF may follow) nor inside a UTF-8 sequence.
std::size_t wholeEnd(std::string_view utf8) {
    std::size_t end = utf8.size();
    if (end > 0 && utf8[end - 1] == '\r')
        --end;
    for (std::size_t back = 1; back <= 4 && back <= end; ++back) {
        const auto c = static_cast<unsigned char>(utf8[end - back]);
        if ((c & 0xC0) == 0x80)
            continue;
        const std::size_t length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        return length > back ? end - back : end;
    }
    return end;
}

// The end of the part of a piece that starts at `from`: never inside a UTF-8 sequence.
std::size_t partEnd(std::string_view utf8, std::size_t from) {
    std::size_t end = std::min(utf8.size(), from + kPartBytes);
    while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80)
        ++end;
    return end;
}

// The UTF-16 units and lines of a UTF-8 text, counted a piece at a time (at most: a stray byte
// becomes one unit, as it may a sequence cut short).
struct TextSize {
    std::size_t units = 0;
    std::size_t lines = 1;

    void add(std::string_view utf8) {
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            units += (c & 0xC0) != 0x80 ? 1 : 0;
            units += c >= 0xF0 ? 1 : 0;  // a surrogate pair
            lines +=
                c == '\n' || (c == '\r' && (i + 1 == utf8.size() || utf8[i + 1] != '\n')) ? 1 : 0;
        }
    }
};

// The pieces cut so that each ends a character and none ends between a CR and its LF.
void cutWhole(std::vector<std::string>& pieces) {
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        const std::size_t end = wholeEnd(pieces[i]);
        pieces[i + 1].insert(0, pieces[i], end);
        pieces[i].resize(end);
    }
}

// The place after a change: a CR put in or brought next to an LF makes one line end with it, and
// the caret goes on past that line end rather than stand inside it.
std::size_t pastBreak(const TextStore& store, std::size_t place) {
    return store.insideBreak(place) ? place + 1 : place;
}

}  // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QAbstractScrollArea(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setAcceptDrops(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAcceptDrops(true);
    verticalScrollBar()->setSingleStep(1);
    rowHeight_ = std::max(1, fontMetrics().lineSpacing());
    MultiLineTextBoxAccessible::install();
}

MultiLineTextBox::~MultiLineTextBox() {
    keepOffer();
}

void MultiLineTextBox::takeText(TextStore& store) {
    keepOffer();
    store_.swap(store);
    TextStore().swap(store);
    caret_ = anchor_ = 0;
    wantedX_ = -1;
    undo_.clear();
    redo_.clear();
    top_ = {};
    longLinesKnown_ = false;
    textChanged();
    if (QAccessible::isActive()) {
        QAccessibleTextUpdateEvent replaced(this, 0, {}, {});
        QAccessible::updateAccessibility(&replaced);
    }
}

void MultiLineTextBox::setText(const QString& text) {
    TextStore store;
    const std::u16string_view chars(reinterpret_cast<const char16_t*>(text.utf16()),
                                    static_cast<std::size_t>(text.size()));
    store.reserve(chars.size(), 0);
    store.append(chars);
    takeText(store);
}

void MultiLineTextBox::checkRoomFor(std::string_view utf8) {
    TextSize size;
    size.add(utf8);
    TextStore store;
    store.reserve(size.units, size.lines);
}

void MultiLineTextBox::setUtf8Text(TextPieces utf8) {
    std::vector<std::string>& pieces = utf8.pieces();
    cutWhole(pieces);
    TextSize size;
    for (const std::string& piece : pieces)
        size.add(piece);
    TextStore store;
    store.reserve(size.units, size.lines);
    for (std::string& piece : pieces) {
        const std::string_view all(piece);
        for (std::size_t at = 0; at < all.size();) {
            const std::size_t next = partEnd(all, at);
            store.append(utf16Of(toQ(all.substr(at, next - at))));
            at = next;
        }
        std::string().swap(piece);
    }
    takeText(store);
}

QString MultiLineTextBox::textBetween(std::size_t from, std::size_t to) const {
    QString text(static_cast<qsizetype>(to - from), Qt::Uninitialized);
    store_.copy(from, to - from, reinterpret_cast<char16_t*>(text.data()));
    return text;
}

QString MultiLineTextBox::text() const {
    return textBetween(0, store_.size());
}

std::string MultiLineTextBox::utf8Text() const {
    // The text a part at a time in UTF-8, a surrogate pair never cut.
    const auto forEachPart = [this](const auto& take) {
        QString part;
        for (std::size_t from = 0; from < store_.size();) {
            std::size_t to = std::min(store_.size(), from + kPartBytes);
            if (to < store_.size() && QChar::isHighSurrogate(store_.at(to - 1)))
                ++to;
            part.resize(static_cast<qsizetype>(to - from));
            store_.copy(from, to - from, reinterpret_cast<char16_t*>(part.data()));
            take(part.toUtf8());
            from = to;
        }
    };
    // The length first, so the text is made in a block of its own size.
    std::size_t size = 0;
    forEachPart([&](const QByteArray& utf8) { size += static_cast<std::size_t>(utf8.size()); });
    std::string text;
    text.reserve(size);
    forEachPart([&](const QByteArray& utf8) { text.append(utf8.constData(), utf8.size()); });
    return text;
}

std::size_t MultiLineTextBox::valid(std::size_t place) const {
    place = std::min(place, store_.size());
    return store_.insideBreak(place) ? place - 1 : place;
}

void MultiLineTextBox::setSelection(qsizetype anchor, qsizetype caret) {
    const std::size_t newAnchor = valid(static_cast<std::size_t>(std::max<qsizetype>(anchor, 0)));
    const std::size_t newCaret = valid(static_cast<std::size_t>(std::max<qsizetype>(caret, 0)));
    if (std::min(newAnchor, newCaret) != selectionStart() ||
        std::max(newAnchor, newCaret) != selectionEnd())
        keepOffer();
    endDeletionRun();
    anchor_ = newAnchor;
    caret_ = newCaret;
    wantedX_ = -1;
    ensureCaretVisible();
    viewport()->update();
    tellCaret();
}

QString MultiLineTextBox::selectedText() const {
    return textBetween(selectionStart(), selectionEnd());
}

void MultiLineTextBox::setReadOnly(bool readOnly) {
    readOnly_ = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    viewport()->update();
}

void MultiLineTextBox::selectAll() {
    endDeletionRun();
    anchor_ = 0;
    caret_ = store_.size();
    wantedX_ = -1;
    ensureCaretVisible();
    viewport()->update();
    offerSelection();
    tellCaret();
}

void MultiLineTextBox::tellCaret() const {
    if (!QAccessible::isActive())
        return;
    auto* self = const_cast<MultiLineTextBox*>(this);
    QAccessibleTextCursorEvent moved(self, static_cast<int>(caret_));
    QAccessible::updateAccessibility(&moved);
    QAccessibleTextSelectionEvent selected(self, static_cast<int>(selectionStart()),
                                           static_cast<int>(selectionEnd()));
    QAccessible::updateAccessibility(&selected);
}

bool MultiLineTextBox::joinRun(std::size_t from, std::size_t count, std::u16string_view text,
                               Run run) {
    if (run == Run::None || undo_.empty() || !redo_.empty() || undo_.back().run != run)
        return false;
    Change& last = undo_.back();
    if (run == Run::Typed && count == 0 && last.removed.empty() &&
        last.at + last.inserted.size() == from) {
        last.inserted.append(text);
        return true;
    }
    if (run == Run::Backspace && text.empty() && last.inserted.empty() && from + count == last.at) {
        last.removed.insert(0, store_.mid(from, count));
        last.at = from;
        return true;
    }
    if (run == Run::Delete && text.empty() && last.inserted.empty() && from == last.at) {
        last.removed.append(store_.mid(from, count));
        return true;
    }
    return false;
}

void MultiLineTextBox::unjoinRun(std::size_t count, std::size_t inserted, Run run) {
    Change& last = undo_.back();
    if (run == Run::Typed) {
        last.inserted.resize(last.inserted.size() - inserted);
    } else if (run == Run::Backspace) {
        last.removed.erase(0, count);
        last.at += count;
    } else {
        last.removed.resize(last.removed.size() - count);
    }
}

void MultiLineTextBox::endDeletionRun() {
    if (!undo_.empty() && (undo_.back().run == Run::Backspace || undo_.back().run == Run::Delete))
        undo_.back().run = Run::None;
}

bool MultiLineTextBox::change(std::size_t from, std::size_t count, std::u16string_view text,
                              Run run) {
    if (readOnly_)
        return false;
    if (count == 0 && text.empty())
        return true;
    keepOffer();
    // What undoes the change is kept before it is made; without the memory for that, the change
    // is made all the same and the earlier steps can no longer be undone.
    bool kept = false;
    bool joined = false;
    try {
        joined = joinRun(from, count, text, run);
        if (!joined)
            undo_.push_back({from, store_.mid(from, count), std::u16string(text), run});
        kept = true;
    } catch (const std::bad_alloc&) {
    }
    try {
        replaceText(from, count, text);
    } catch (const std::bad_alloc&) {
        if (kept && joined)
            unjoinRun(count, text.size(), run);
        else if (kept)
            undo_.pop_back();
        QApplication::beep();
        return false;
    }
    if (!kept)
        undo_.clear();
    redo_.clear();
    caret_ = anchor_ = pastBreak(store_, from + text.size());
    wantedX_ = -1;
    textChanged();
    return true;
}

bool MultiLineTextBox::replaceSelection(std::u16string_view text, Run run) {
    return change(selectionStart(), selectionEnd() - selectionStart(), text, run);
}

void MultiLineTextBox::undo() {
    replay(undo_, redo_, true);
}

void MultiLineTextBox::redo() {
    replay(redo_, undo_, false);
}

void MultiLineTextBox::replay(std::vector<Change>& from, std::vector<Change>& to, bool undoing) {
    if (from.empty() || readOnly_)
        return;
    Change& step = from.back();
    const std::u16string& now = undoing ? step.inserted : step.removed;
    const std::u16string& then = undoing ? step.removed : step.inserted;
    keepOffer();
    // The room to keep the step is taken first: once the text has changed, nothing may fail.
    try {
        if (to.size() == to.capacity())
            to.reserve(2 * to.size() + 1);
        replaceText(step.at, now.size(), then);
    } catch (const std::bad_alloc&) {
        QApplication::beep();
        return;
    }
    caret_ = anchor_ = pastBreak(store_, step.at + then.size());
    step.run = Run::None;
    to.push_back(std::move(step));
    from.pop_back();
    wantedX_ = -1;
    textChanged();
}

// Copies, cuts and pastes that run out of memory (a long text selected whole) do nothing but
// beep; a cut then keeps its text.
void MultiLineTextBox::copy() {
    copySelection();
}

bool MultiLineTextBox::copySelection() {
    if (!hasSelection())
        return false;
    try {
        QApplication::clipboard()->setText(selectedText());
        return true;
    } catch (const std::bad_alloc&) {
        QApplication::beep();
        return false;
    }
}

void MultiLineTextBox::cut() {
    if (hasSelection() && !readOnly_ && copySelection())
        replaceSelection({});
}

void MultiLineTextBox::paste() {
    try {
        const QString text = QApplication::clipboard()->text();
        if (!text.isEmpty())
            replaceSelection(utf16Of(text));
    } catch (const std::bad_alloc&) {
        QApplication::beep();
    }
}

}  // namespace tess::qt
