#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <QTextLine>
#include <algorithm>
#include <array>

#include "platform/qt/MultiLineTextBox.h"

// What the box shows: the parts of its lines, their layouts, the rows in view and the scroll bar.
namespace tess::qt {

namespace {

constexpr int kMargin = 4;
// The layouts kept: enough for what is in view and a few moves about it.
constexpr std::size_t kMostLaidOutChars = std::size_t{1} << 19;
constexpr std::size_t kMostLayouts = 512;
// A text of no more parts and characters than this has a scroll bar that counts rows: every part
// of it is laid out after each change (a few milliseconds at most).
constexpr std::size_t kMostPartsByRows = 256;
constexpr std::size_t kMostCharsByRows = std::size_t{1} << 15;
// A part of a long line ends after the last space at most this far before its limit; a word
// longer than that is cut at a boundary between its letters.
constexpr std::size_t kMostSpaceBack = 256;
// The characters about a place that tell whether it lies between two letters (a letter with its
// marks is one; so is a surrogate pair).
constexpr std::size_t kGraphemeContext = 32;

// A space a row may wrap after: not one that keeps its neighbours together.
bool wrapsAfter(char16_t c) {
    return c == u'\t' || (QChar::category(c) == QChar::Separator_Space && c != 0xA0 &&
                          c != 0x2007 && c != 0x202F);
}

// The two halves of a regional indicator; two indicators make a flag.
bool isIndicator(char16_t high, char16_t low) {
    return high == 0xD83C && low >= 0xDDE6 && low <= 0xDDFF;
}

// Whether the `count` characters (an even count) are all regional indicators, tested without a
// branch for each: a run is mostly long, and this loop is cheaper than one that stops at its end.
bool allIndicators(const char16_t* units, std::size_t count) {
    bool all = true;
    for (std::size_t i = 0; i < count; i += 2)
        all &= isIndicator(units[i], units[i + 1]);
    return all;
}

}  // namespace

void MultiLineTextBox::findLongLines() const {
    if (longLinesKnown_)
        return;
    longLines_.clear();
    std::size_t extra = 0;
    const std::size_t lines = store_.lineCount();
    for (std::size_t line = 0; line < lines; ++line) {
        const std::size_t next = line + 1 < lines ? store_.lineStart(line + 1) : store_.size();
        if (next - store_.lineStart(line) <= kSegment)
            continue;
        const std::size_t parts = partsOf(store_.lineEnd(line) - store_.lineStart(line));
        if (parts > 1) {
            longLines_.push_back({line, extra, parts - 1});
            extra += parts - 1;
        }
    }
    longLinesKnown_ = true;
}

void MultiLineTextBox::replaceText(std::size_t from, std::size_t count, std::u16string_view text) {
    // A line beside the change may change too (a CR and an LF joined or parted); the lines after
    // `oldLast` are the lines after `newLast`, moved.
    const std::size_t first = store_.lineOf(from > 0 ? from - 1 : 0);
    const std::size_t oldLast = std::min(store_.lineCount() - 1, store_.lineOf(from + count) + 1);
    // Assistive programs are told what went and what came (only while one listens).
    const bool told = QAccessible::isActive();
    const std::u16string removed = told ? store_.mid(from, count) : std::u16string();
    store_.replace(from, count, text);
    if (told) {
        const auto at = static_cast<int>(from);
        if (!removed.empty()) {
            QAccessibleTextRemoveEvent gone(this, at,
                                            QString::fromUtf16(removed.data(), removed.size()));
            QAccessible::updateAccessibility(&gone);
        }
        if (!text.empty()) {
            QAccessibleTextInsertEvent came(this, at, QString::fromUtf16(text.data(), text.size()));
            QAccessible::updateAccessibility(&came);
        }
    }
    if (!longLinesKnown_)
        return;
    const std::size_t newLast =
        std::min(store_.lineCount() - 1, store_.lineOf(from + text.size()) + 1);
    try {
        mendLongLines(first, oldLast, newLast);
    } catch (const std::bad_alloc&) {
        longLinesKnown_ = false;
    }
}

void MultiLineTextBox::mendLongLines(std::size_t first, std::size_t oldLast, std::size_t newLast) {
    std::vector<LongLine> made;
    for (std::size_t line = first; line <= newLast; ++line) {
        const std::size_t parts = partsOf(store_.lineEnd(line) - store_.lineStart(line));
        if (parts > 1)
            made.push_back({line, 0, parts - 1});
    }
    const auto byLine = [](const LongLine& long_, std::size_t line) { return long_.line < line; };
    const auto from = std::lower_bound(longLines_.begin(), longLines_.end(), first, byLine);
    const auto to = std::lower_bound(from, longLines_.end(), oldLast + 1, byLine);
    const auto at = static_cast<std::size_t>(from - longLines_.begin());
    for (auto later = to; later != longLines_.end(); ++later)
        later->line = later->line - oldLast + newLast;
    longLines_.insert(longLines_.erase(from, to), made.begin(), made.end());
    std::size_t extra = at == 0 ? 0 : longLines_[at - 1].extraBefore + longLines_[at - 1].extra;
    for (std::size_t i = at; i < longLines_.size(); ++i) {
        longLines_[i].extraBefore = extra;
        extra += longLines_[i].extra;
    }
}

std::size_t MultiLineTextBox::segmentCount() const {
    findLongLines();
    const std::size_t extra =
        longLines_.empty() ? 0 : longLines_.back().extraBefore + longLines_.back().extra;
    return store_.lineCount() + extra;
}

std::size_t MultiLineTextBox::partStart(std::size_t start, std::size_t length,
                                        std::size_t index) const {
    if (index == 0 || index >= partsOf(length))
        return index == 0 ? start : start + length;
    // Each boundary is found from its own limit alone, less than one part back, so the parts of
    // a line stay as many as before and any of them is found without the others.
    const std::size_t limit = start + index * kSegment;
    const std::size_t end = start + length;
    // The boundaries between letters about a place, found from the characters around it.
    std::size_t from = 0;
    const auto letters = [&](std::size_t at) {
        from = at - std::min(at - start, kGraphemeContext);
        const std::size_t to = std::min(end, at + kGraphemeContext);
        QString around(static_cast<qsizetype>(to - from), Qt::Uninitialized);
        store_.copy(from, to - from, reinterpret_cast<char16_t*>(around.data()));
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, around);
        finder.setPosition(static_cast<qsizetype>(at - from));
        return finder;
    };
    // Indicators pair from the start of their run, which may lie before the finder's window, so
    // the run is counted back; one of a part or more is taken to start the line.
    const auto insideFlag = [&](std::size_t at) {
        if (at < start + 2 || at + 1 >= end || !isIndicator(store_.at(at), store_.at(at + 1)))
            return false;
        const std::size_t reach = at - std::min(at - start, kSegment);
        std::size_t run = at;
        std::array<char16_t, 512> chunk;
        for (std::size_t left = 0; left == 0 && run > reach;) {
            const std::size_t count = std::min(chunk.size(), run - reach);
            store_.copy(run - count, count, chunk.data());
            left = count % 2 == 0 && allIndicators(chunk.data(), count) ? 0 : count;
            while (left >= 2 && isIndicator(chunk[left - 2], chunk[left - 1]))
                left -= 2;
            run -= count - left;
        }
        return (run == reach ? at - start : at - run) / 2 % 2 == 1;
    };
    // After the last space, as a row wraps; no character below U+0300 joins a space before it
    // into one letter (a line holds no CR LF).
    const std::size_t lowest = limit - std::min(limit - start - 1, kMostSpaceBack);
    for (std::size_t at = limit; at > lowest; --at)
        if (wrapsAfter(store_.at(at - 1)) && (store_.at(at) < 0x300 || letters(at).isAtBoundary()))
            return at;
    // Else between the last two letters before the limit: two characters below U+0300 are two
    // letters, else the finder tells (a sign such as U+0600 joins the digit after it). A boundary
    // it puts inside a flag has the flag's start two before it.
    if (store_.at(limit - 1) < 0x300 && store_.at(limit) < 0x300)
        return limit;
    QTextBoundaryFinder finder = letters(limit);
    const qsizetype previous =
        finder.isAtBoundary() ? static_cast<qsizetype>(limit - from) : finder.toPreviousBoundary();
    if (previous > 0) {
        std::size_t at = from + static_cast<std::size_t>(previous);
        if (insideFlag(at))
            at -= 2;
        if (at > lowest)
            return at;
    }
    // A letter with more marks than can be told about: at least a surrogate pair stays whole.
    return QChar::isLowSurrogate(store_.at(limit)) && QChar::isHighSurrogate(store_.at(limit - 1))
               ? limit - 1
               : limit;
}

MultiLineTextBox::Part MultiLineTextBox::partOf(std::size_t line, std::size_t index) const {
    findLongLines();
    const auto after = std::lower_bound(
        longLines_.begin(), longLines_.end(), line,
        [](const LongLine& long_, std::size_t wanted) { return long_.line < wanted; });
    const std::size_t extraBefore =
        after == longLines_.begin() ? 0 : std::prev(after)->extraBefore + std::prev(after)->extra;
    const std::size_t start = store_.lineStart(line);
    const std::size_t length = store_.lineEnd(line) - start;
    return {line + extraBefore + index, line, index, partStart(start, length, index),
            partStart(start, length, index + 1)};
}

MultiLineTextBox::Part MultiLineTextBox::partAt(std::size_t segment) const {
    findLongLines();
    // The last long line whose first part is at or before `segment`.
    const auto after = std::upper_bound(longLines_.begin(), longLines_.end(), segment,
                                        [](std::size_t wanted, const LongLine& long_) {
                                            return wanted < long_.line + long_.extraBefore;
                                        });
    if (after == longLines_.begin())
        return partOf(segment, 0);
    const LongLine& long_ = *std::prev(after);
    const std::size_t first = long_.line + long_.extraBefore;
    if (segment <= first + long_.extra)
        return partOf(long_.line, segment - first);
    return partOf(segment - long_.extraBefore - long_.extra, 0);
}

MultiLineTextBox::Part MultiLineTextBox::partHolding(std::size_t place) const {
    const std::size_t line = store_.lineOf(place);
    const std::size_t start = store_.lineStart(line);
    const std::size_t length = store_.lineEnd(line) - start;
    const std::size_t parts = partsOf(length);
    std::size_t index = std::min(parts - 1, (std::min(place, start + length) - start) / kSegment);
    if (index + 1 < parts && place >= partStart(start, length, index + 1))
        ++index;
    else if (index > 0 && place < partStart(start, length, index))
        --index;
    return partOf(line, index);
}

std::unique_ptr<QTextLayout> MultiLineTextBox::newLayout(const Part& part,
                                                         const QString& preedit) const {
    auto layout = std::make_unique<QTextLayout>(textBetween(part.from, part.to), font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout->setTextOption(option);
    layout->setCacheEnabled(true);
    if (!preedit.isEmpty()) {
        const auto at = static_cast<int>(caret_ - part.from);
        layout->setPreeditArea(at, preedit);
        QTextCharFormat underlined;
        underlined.setFontUnderline(true);
        layout->setFormats({{at, static_cast<int>(preedit.size()), underlined}});
    }
    const qreal width = std::max(1, viewport()->width() - 2 * kMargin);
    layout->beginLayout();
    for (int row = 0;; ++row) {
        QTextLine line = layout->createLine();
        if (!line.isValid())
            break;
        line.setLineWidth(width);
        line.setPosition(QPointF(0, row * rowHeight_));
    }
    layout->endLayout();
    return layout;
}

QTextLayout& MultiLineTextBox::layoutOf(const Part& part) const {
    const auto found = layouts_.find(part.segment);
    if (found != layouts_.end())
        return *found->second;
    const std::size_t chars = part.to - part.from;
    if (layouts_.size() >= kMostLayouts || laidOutChars_ + chars > kMostLaidOutChars) {
        layouts_.clear();
        laidOutChars_ = 0;
    }
    auto layout = newLayout(part, {});
    laidOutChars_ += chars;
    return *layouts_.emplace(part.segment, std::move(layout)).first->second;
}

void MultiLineTextBox::forgetLayouts() {
    laidOutWidth_ = viewport()->width();
    layouts_.clear();
    laidOutChars_ = 0;
}

int MultiLineTextBox::rowsOf(std::size_t segment) const {
    return std::max(1, layoutOf(partAt(segment)).lineCount());
}

// The last place of a row: a place after a row that wraps is the start of the next row, so the
// last place of such a row is before the space it wraps at (or before its last character, where
// a part of a long line ends), a surrogate pair or a letter with its marks never cut.
std::size_t MultiLineTextBox::rowEnd(const Part& part, int row) const {
    const QTextLayout& layout = layoutOf(part);
    const QTextLine line = layout.lineAt(row);
    const int end = line.textStart() + line.textLength();
    const bool lastOfPart = row + 1 >= layout.lineCount();
    const bool lastOfLine = part.to == store_.lineEnd(part.line);
    if ((lastOfPart && lastOfLine) || end <= line.textStart())
        return part.from + static_cast<std::size_t>(end);
    return part.from +
           static_cast<std::size_t>(std::max(line.textStart(), layout.previousCursorPosition(end)));
}

MultiLineTextBox::Row MultiLineTextBox::rowOf(std::size_t place) const {
    const Part part = partHolding(place);
    const QTextLine line =
        layoutOf(part).lineForTextPosition(static_cast<int>(std::min(place, part.to) - part.from));
    return {part.segment, line.isValid() ? line.lineNumber() : 0};
}

bool MultiLineTextBox::nextRow(Row& row) const {
    if (row.row + 1 < rowsOf(row.segment)) {
        ++row.row;
        return true;
    }
    if (row.segment + 1 >= segmentCount())
        return false;
    row = {row.segment + 1, 0};
    return true;
}

bool MultiLineTextBox::previousRow(Row& row) const {
    if (row.row > 0) {
        --row.row;
        return true;
    }
    if (row.segment == 0)
        return false;
    row = {row.segment - 1, rowsOf(row.segment - 1) - 1};
    return true;
}

int MultiLineTextBox::rowsInView() const {
    return std::max(1, (viewport()->height() - kMargin) / rowHeight_);
}

// The top row that shows the last row at the bottom.
MultiLineTextBox::Row MultiLineTextBox::lastTop() const {
    const std::size_t last = segmentCount() - 1;
    Row top{last, rowsOf(last) - 1};
    for (int row = 1; row < rowsInView(); ++row)
        if (!previousRow(top))
            break;
    return top;
}

void MultiLineTextBox::updateScrollBar() {
    const std::size_t segments = segmentCount();
    byRows_ = segments <= kMostPartsByRows && store_.size() <= kMostCharsByRows;
    rowCounts_.clear();
    const Row last = lastTop();
    int maximum = static_cast<int>(std::min<std::size_t>(last.segment, INT32_MAX));
    if (byRows_) {
        int before = 0;
        for (std::size_t segment = 0; segment < segments; ++segment) {
            rowCounts_.push_back(rowsOf(segment));
            if (segment < last.segment)
                before += rowCounts_.back();
        }
        maximum = before + last.row;
    }
    {
        // A new range may show or hide the bar, and the new width come through here again.
        const QScopedValueRollback setting(settingScrollBar_, true);
        QScrollBar* bar = verticalScrollBar();
        bar->setRange(0, maximum);
        bar->setPageStep(rowsInView());
    }
    setTop(top_);
}

void MultiLineTextBox::setTop(Row top) {
    const Row last = lastTop();
    if (last < top)
        top = last;
    top.row = std::min(top.row, rowsOf(top.segment) - 1);
    top_ = top;
    int value = static_cast<int>(std::min<std::size_t>(top.segment, INT32_MAX));
    if (byRows_) {
        value = top.row;
        for (std::size_t segment = 0; segment < top.segment && segment < rowCounts_.size();
             ++segment)
            value += rowCounts_[segment];
    }
    {
        const QScopedValueRollback setting(settingScrollBar_, true);
        verticalScrollBar()->setValue(value);
    }
    viewport()->update();
}

void MultiLineTextBox::scrollContentsBy(int, int) {
    if (settingScrollBar_)
        return;
    const int value = verticalScrollBar()->value();
    if (!byRows_) {
        setTop({static_cast<std::size_t>(value), 0});
        return;
    }
    Row top;
    int rows = value;
    while (top.segment + 1 < rowCounts_.size() && rows >= rowCounts_[top.segment])
        rows -= rowCounts_[top.segment++];
    top.row = rows;
    setTop(top);
}

void MultiLineTextBox::scrollRows(int rows) {
    Row top = top_;
    for (; rows > 0 && nextRow(top); --rows) {
    }
    for (; rows < 0 && previousRow(top); ++rows) {
    }
    setTop(top);
}

void MultiLineTextBox::ensureCaretVisible() {
    const Row caret = rowOf(caret_);
    if (caret < top_) {
        setTop(caret);
        return;
    }
    const int inView = rowsInView();
    Row row = top_;
    int below = 0;
    while (!(row == caret) && below < inView && nextRow(row))
        ++below;
    if (row == caret && below < inView)
        return;
    Row top = caret;
    for (int up = 1; up < inView; ++up)
        if (!previousRow(top))
            break;
    setTop(top);
}

void MultiLineTextBox::textChanged() {
    forgetLayouts();
    updateScrollBar();
    ensureCaretVisible();
    caretShown_ = true;
    viewport()->update();
    tellCaret();
}

std::size_t MultiLineTextBox::placeAt(const QPoint& point, QTextLine::CursorPosition edge) const {
    const int y = point.y() - kMargin;
    int rows = y >= 0 ? y / rowHeight_ : -((rowHeight_ - 1 - y) / rowHeight_);
    Row row = top_;
    for (; rows > 0 && nextRow(row); --rows) {
    }
    for (; rows < 0 && previousRow(row); ++rows) {
    }
    const Part part = partAt(row.segment);
    const QTextLine line = layoutOf(part).lineAt(row.row);
    const auto local = static_cast<std::size_t>(line.xToCursor(point.x() - kMargin, edge));
    const std::size_t place = part.from + local;
    return place >= rowEnd(part, row.row) ? rowEnd(part, row.row) : valid(place);
}

QRect MultiLineTextBox::placeRect(std::size_t place) const {
    const Row at = rowOf(place);
    int rows = 0;
    for (Row row = top_; row < at && rows <= rowsInView() && nextRow(row);)
        ++rows;
    if (at < top_)
        rows = -1;
    const Part part = partHolding(place);
    const QTextLine line = layoutOf(part).lineAt(at.row);
    const auto x = static_cast<int>(line.cursorToX(static_cast<int>(place - part.from)));
    return {kMargin + x, kMargin + rows * rowHeight_, 1, rowHeight_};
}

void MultiLineTextBox::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QPalette& colours = palette();
    painter.setPen(colours.color(QPalette::Text));
    QTextCharFormat selected;
    selected.setBackground(colours.brush(QPalette::Highlight));
    selected.setForeground(colours.brush(QPalette::HighlightedText));
    const std::size_t from = selectionStart();
    const std::size_t to = selectionEnd();
    const bool caretShown = caretShown_ && hasFocus() && isEnabled() && !readOnly_;
    const std::size_t caretSegment = partHolding(caret_).segment;
    const std::size_t segments = segmentCount();
    const int breakWidth = fontMetrics().horizontalAdvance(QLatin1Char(' '));

    // The rows above the top one, drawn with it, stay out of the margin above it.
    painter.setClipRect(QRect(0, kMargin, viewport()->width(), viewport()->height() - kMargin));
    int y = kMargin - top_.row * rowHeight_;
    for (std::size_t segment = top_.segment; segment < segments && y < viewport()->height();
         ++segment) {
        const Part part = partAt(segment);
        // What an input method is composing shows at the caret, underlined, until it is typed.
        std::unique_ptr<QTextLayout> composing;
        if (!preedit_.isEmpty() && segment == caretSegment)
            composing = newLayout(part, preedit_);
        QTextLayout& layout = composing ? *composing : layoutOf(part);
        QList<QTextLayout::FormatRange> selections;
        if (from < part.to && to > part.from) {
            const std::size_t start = std::max(from, part.from);
            selections.push_back({static_cast<int>(start - part.from),
                                  static_cast<int>(std::min(to, part.to) - start), selected});
        }
        const QPointF origin(kMargin, y);
        layout.draw(&painter, origin, selections, event->rect());
        // A selected line end shows as a space's width after its line.
        const bool endsLine =
            part.to == store_.lineEnd(part.line) && part.line + 1 < store_.lineCount();
        if (endsLine && from <= part.to && to > part.to) {
            const QTextLine last = layout.lineAt(layout.lineCount() - 1);
            painter.fillRect(QRectF(kMargin + last.x() + last.naturalTextWidth(), y + last.y(),
                                    breakWidth, rowHeight_),
                             colours.brush(QPalette::Highlight));
        }
        if (caretShown && segment == caretSegment)
            layout.drawCursor(&painter, origin,
                              static_cast<int>(caret_ - part.from) + preeditCaret_, 1);
        y += layout.lineCount() * rowHeight_;
    }
}

}  // namespace tess::qt
