#include "platform/qt/MultiLineTextBox.h"

#include <QCoreApplication>
#include <QMimeData>
#include <QResizeEvent>
#include <QScopeGuard>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <bit>
#include <new>

#include "platform/qt/QtText.h"

namespace tess::qt {

namespace {

constexpr QChar kParagraphBreak(0x2029);
// Qt's frame marks: inserted as text, each makes a paragraph break too.
constexpr QChar kFrameStart(0xFDD0);
constexpr QChar kFrameEnd(0xFDD1);
// A block's user state before the box has given it its line ends.
constexpr int kNewBlock = -1;

// A long UTF-8 text goes into the document in parts of about this size, so only one part is held
// as UTF-16 beside the document.
constexpr std::size_t kPartBytes = std::size_t{1} << 20;
// What Qt's document keeps for each line beyond its characters: two text fragments (the line's
// text and its break) and a block.
constexpr std::size_t kFragmentBytes = 32;
constexpr std::size_t kBlockBytes = 72;

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

// The end of the part of a piece that starts at `from`: never inside a UTF-8 sequence, nor
// between the CR and the LF of one line end.
std::size_t partEnd(std::string_view utf8, std::size_t from) {
    std::size_t end = std::min(utf8.size(), from + kPartBytes);
    while (end < utf8.size() && ((static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80 ||
                                 (utf8[end] == '\n' && utf8[end - 1] == '\r')))
        ++end;
    return end;
}

// The UTF-16 units and lines of a UTF-8 text, counted a piece at a time.
struct TextSize {
    std::size_t units = 0;
    std::size_t lines = 0;

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

// Qt's document does not survive running out of memory part-way through a change: the memory a
// document of such a text needs (its UTF-16 copy, its fragments and blocks, each in an array
// grown to a power of two, and one part as UTF-16) is taken and given back before the box lets go
// of anything.
void findRoomFor(const TextSize& size) {
    const std::size_t need = std::bit_ceil(sizeof(char16_t) * (size.units + size.lines + 2)) +
                             std::bit_ceil(kFragmentBytes * (2 * size.lines + 2)) +
                             std::bit_ceil(kBlockBytes * (size.lines + 1)) +
                             sizeof(char16_t) * 2 * kPartBytes;
    void* volatile probe = ::operator new(need);
    ::operator delete(probe);
}

}  // namespace

QString MultiLineTextBox::textOf(LineEnd end) {
    switch (end) {
        case LineEnd::Cr:
            return QStringLiteral("\r");
        case LineEnd::Lf:
            return QStringLiteral("\n");
        case LineEnd::Paragraph:
            return QString(kParagraphBreak);
        case LineEnd::FrameStart:
            return QString(kFrameStart);
        case LineEnd::FrameEnd:
            return QString(kFrameEnd);
        case LineEnd::CrLf:
            break;
    }
    return QStringLiteral("\r\n");
}

std::size_t MultiLineTextBox::lineEndAt(const QString& text, qsizetype at, LineEnd& end) {
    const QChar c = text[at];
    if (c == '\r') {
        const bool pair = at + 1 < text.size() && text[at + 1] == '\n';
        end = pair ? LineEnd::CrLf : LineEnd::Cr;
        return pair ? 2 : 1;
    }
    if (c == '\n' || c == kParagraphBreak || c == kFrameStart || c == kFrameEnd) {
        end = c == '\n'              ? LineEnd::Lf
              : c == kParagraphBreak ? LineEnd::Paragraph
              : c == kFrameStart     ? LineEnd::FrameStart
                                     : LineEnd::FrameEnd;
        return 1;
    }
    return 0;
}

std::size_t MultiLineTextBox::lineEndAt(std::string_view utf8, std::size_t at, LineEnd& end) {
    const char c = utf8[at];
    if (c == '\r') {
        const bool pair = at + 1 < utf8.size() && utf8[at + 1] == '\n';
        end = pair ? LineEnd::CrLf : LineEnd::Cr;
        return pair ? 2 : 1;
    }
    if (c == '\n') {
        end = LineEnd::Lf;
        return 1;
    }
    const std::string_view rest = utf8.substr(at, 3);
    if (rest == "\xE2\x80\xA9") {
        end = LineEnd::Paragraph;
        return 3;
    }
    if (rest == "\xEF\xB7\x90" || rest == "\xEF\xB7\x91") {
        end = rest[2] == '\x90' ? LineEnd::FrameStart : LineEnd::FrameEnd;
        return 3;
    }
    return 0;
}

// The line ends of `text` in order, one for each paragraph break Qt makes of them.
std::vector<MultiLineTextBox::LineEnd> MultiLineTextBox::lineEndsOf(const QString& text) {
    std::vector<LineEnd> ends;
    LineEnd end{};
    for (qsizetype i = 0; i < text.size();) {
        const std::size_t length = lineEndAt(text, i, end);
        if (length == 0) {
            ++i;
        } else {
            ends.push_back(end);
            i += static_cast<qsizetype>(length);
        }
    }
    return ends;
}

bool MultiLineTextBox::isNew(const QTextBlock& block) {
    return block.userState() == kNewBlock;
}

MultiLineTextBox::LineEnd MultiLineTextBox::before(const QTextBlock& block) {
    return static_cast<LineEnd>(block.userState() & 0xFF);
}

MultiLineTextBox::LineEnd MultiLineTextBox::after(const QTextBlock& block) {
    return static_cast<LineEnd>((block.userState() >> 8) & 0xFF);
}

void MultiLineTextBox::setBefore(QTextBlock& block, LineEnd end) {
    const int kept = isNew(block) ? static_cast<int>(LineEnd::CrLf) << 8 : block.userState();
    block.setUserState((kept & ~0xFF) | static_cast<int>(end));
}

void MultiLineTextBox::setAfter(QTextBlock& block, LineEnd end) {
    const int kept = isNew(block) ? static_cast<int>(LineEnd::CrLf) : block.userState();
    block.setUserState((kept & 0xFF) | static_cast<int>(end) << 8);
}

template <typename Text>
void MultiLineTextBox::takeLineEnds(const Text& text, QTextBlock& block) {
    const auto size = static_cast<std::size_t>(text.size());
    LineEnd end{};
    for (std::size_t at = 0; at < size;) {
        const std::size_t length = lineEndAt(text, static_cast<decltype(text.size())>(at), end);
        if (length == 0) {
            ++at;
            continue;
        }
        at += length;
        QTextBlock next = block.next();
        if (!next.isValid())
            return;
        setAfter(block, end);
        setBefore(next, end);
        block = next;
    }
}

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int added) { followChange(position, added); });
}

template <typename Fill>
void MultiLineTextBox::replaceText(Fill fill) {
    settingText_ = true;
    const auto done = qScopeGuard([this, policy = verticalScrollBarPolicy()] {
        setVerticalScrollBarPolicy(policy);
        settingText_ = false;
    });
    // A long text shows the scroll bar: with the bar there from the start, its arrival does not
    // narrow the text and lay out every block again. A text that needs no bar gets the width
    // back when the bar goes, and has few blocks to lay out.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    if (!isVisible()) {
        // A hidden box places its viewport only when shown: place it now.
        QResizeEvent placed(size(), size());
        QCoreApplication::sendEvent(this, &placed);
    }
    if (viewport()->width() != laidOutWidth_) {
        clear();
        QResizeEvent widened(viewport()->size(), QSize(-1, -1));
        resizeEvent(&widened);
    }
    fill();
}

void MultiLineTextBox::setText(QString text) {
    replaceText([&] { setPlainText(text); });
    QTextBlock block = document()->firstBlock();
    setBefore(block, LineEnd::CrLf);
    takeLineEnds(text, block);
    setAfter(block, LineEnd::CrLf);
}

void MultiLineTextBox::checkRoomFor(std::string_view utf8) {
    TextSize size;
    size.add(utf8);
    findRoomFor(size);
}

void MultiLineTextBox::setUtf8Text(TextPieces utf8) {
    std::vector<std::string>& pieces = utf8.pieces();
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i) {
        const std::size_t end = wholeEnd(pieces[i]);
        pieces[i + 1].insert(0, pieces[i], end);
        pieces[i].resize(end);
    }
    TextSize size;
    for (const std::string& piece : pieces)
        size.add(piece);
    findRoomFor(size);
    replaceText([&] {
        setPlainText(QString());
        QTextDocument* doc = document();
        const bool undo = doc->isUndoRedoEnabled();
        doc->setUndoRedoEnabled(false);
        QTextCursor end(doc);
        end.beginEditBlock();
        QTextBlock block = doc->firstBlock();
        setBefore(block, LineEnd::CrLf);
        for (std::string& piece : pieces) {
            const std::string_view all(piece);
            for (std::size_t at = 0; at < all.size();) {
                const std::size_t next = partEnd(all, at);
                const std::string_view part = all.substr(at, next - at);
                end.insertText(toQ(part));
                takeLineEnds(part, block);
                at = next;
            }
            std::string().swap(piece);
        }
        setAfter(block, LineEnd::CrLf);
        end.endEditBlock();
        doc->setUndoRedoEnabled(undo);
        doc->setModified(false);
        // The caret moved on with every insertion; it starts at the text's start, as
        // setPlainText leaves it.
        setTextCursor(QTextCursor(doc));
    });
}

// Block by block, never through a text cursor: placing a cursor lays out the block it is in, all
// of a long line at once.
template <typename Take>
void MultiLineTextBox::forEachPartBetween(int from, int to, const Take& take) const {
    const QTextDocument* doc = document();
    const int last = doc->characterCount() - 1;
    from = std::clamp(from, 0, last);
    to = std::clamp(to, from, last);
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() < to;
         block = block.next()) {
        const int start = block.position();
        const QString chars = block.text();
        const int first = std::max(from, start) - start;
        const int end = std::min<int>(to - start, static_cast<int>(chars.size()));
        if (end > first)
            take(QStringView(chars).mid(first, end - first), false);
        // The block's break lies just after its characters.
        const QTextBlock next = block.next();
        if (start + chars.size() < to && next.isValid())
            take(QStringView(), true, before(next));
    }
}

QString MultiLineTextBox::textBetween(int from, int to) const {
    qsizetype size = 0;
    forEachPartBetween(from, to, [&](QStringView chars, bool isBreak, LineEnd end = {}) {
        size += isBreak ? textOf(end).size() : chars.size();
    });
    QString text;
    text.reserve(size);
    forEachPartBetween(from, to, [&](QStringView chars, bool isBreak, LineEnd end = {}) {
        if (isBreak)
            text += textOf(end);
        else
            text += chars;
    });
    return text;
}

std::vector<MultiLineTextBox::LineEnd> MultiLineTextBox::lineEnds() const {
    std::vector<LineEnd> ends;
    ends.reserve(static_cast<std::size_t>(document()->blockCount()));
    for (QTextBlock block = document()->firstBlock().next(); block.isValid(); block = block.next())
        ends.push_back(before(block));
    return ends;
}

QString MultiLineTextBox::text() const {
    // The document's own text, each break there a U+2029, with the breaks turned into their line
    // ends in place, from the back.
    QString text = document()->toRawText();
    const std::vector<LineEnd> ends = lineEnds();
    qsizetype read = text.size();
    text.resize(text.size() + std::count(ends.begin(), ends.end(), LineEnd::CrLf));
    QChar* chars = text.data();
    qsizetype write = text.size();
    std::size_t next = ends.size();
    while (read > 0) {
        const QChar c = chars[--read];
        if (c != kParagraphBreak || next == 0) {
            chars[--write] = c;
            continue;
        }
        const QString end = textOf(ends[--next]);
        for (qsizetype i = end.size(); i > 0;)
            chars[--write] = end[--i];
    }
    return text;
}

std::string MultiLineTextBox::utf8Text() const {
    const QString raw = document()->toRawText();
    const std::vector<LineEnd> ends = lineEnds();
    // The document's text a part at a time, its breaks turned into their line ends, in UTF-8.
    const auto forEachPart = [&](const auto& take) {
        std::size_t next = 0;
        QString part;
        for (qsizetype from = 0; from < raw.size();) {
            qsizetype to = std::min<qsizetype>(raw.size(), from + kPartBytes);
            if (to < raw.size() && raw[to - 1].isHighSurrogate())
                ++to;  // a surrogate pair stays in one part
            part.clear();
            for (qsizetype at = from; at < to;) {
                const qsizetype found = QStringView(raw).mid(at, to - at).indexOf(kParagraphBreak);
                const qsizetype stop = found < 0 ? to : at + found;
                part += QStringView(raw).mid(at, stop - at);
                if (stop < to)
                    part += next < ends.size() ? textOf(ends[next++]) : QString(kParagraphBreak);
                at = stop + 1;
            }
            take(part.toStdString());
            from = to;
        }
    };
    // The length first, so the text is made in a block of its own size.
    std::size_t size = 0;
    forEachPart([&](const std::string& utf8) { size += utf8.size(); });
    std::string text;
    text.reserve(size);
    forEachPart([&](const std::string& utf8) { text += utf8; });
    return text;
}

QMimeData* MultiLineTextBox::createMimeDataFromSelection() const {
    const QTextCursor cursor = textCursor();
    auto* mime = new QMimeData;
    mime->setText(textBetween(cursor.selectionStart(), cursor.selectionEnd()));
    return mime;
}

void MultiLineTextBox::insertFromMimeData(const QMimeData* source) {
    if (source != nullptr && source->hasText())
        incoming_ = lineEndsOf(source->text());
    const auto done = qScopeGuard([this, policy = verticalScrollBarPolicy()] {
        setVerticalScrollBarPolicy(policy);
        incoming_.clear();
    });
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QPlainTextEdit::insertFromMimeData(source);
}

void MultiLineTextBox::resizeEvent(QResizeEvent* event) {
    const bool widthChanged = event->oldSize().width() != event->size().width();
    if (widthChanged && viewport()->width() == laidOutWidth_) {
        // Laid out at this width already; Qt would lay out every block again, and keep a layout
        // for each of them from then on.
        QResizeEvent heightOnly(event->size(),
                                QSize(event->size().width(), event->oldSize().height()));
        QPlainTextEdit::resizeEvent(&heightOnly);
        return;
    }
    if (widthChanged)
        laidOutWidth_ = viewport()->width();
    QPlainTextEdit::resizeEvent(event);
}

// Qt keeps the data of a block it splits with the first part and gives the second part a new
// block; of blocks it merges it keeps the last one's. So a break between two old blocks is the
// one the first of them names after it (the second may be the survivor of a merge and name the
// break it lost), a break before a new block came with this change, and one after a new block
// is the one the old block behind it names. Changes of format alone leave every block as it was.
void MultiLineTextBox::followChange(int position, int added) {
    if (settingText_)
        return;
    QTextDocument* doc = document();
    QTextBlock first = doc->findBlock(position);
    if (!first.isValid())
        first = doc->lastBlock();
    QTextBlock last = doc->findBlock(position + added);
    if (!last.isValid())
        last = doc->lastBlock();
    if (first.previous().isValid())
        first = first.previous();
    while (isNew(first) && first.previous().isValid())
        first = first.previous();
    while (last.next().isValid() && isNew(last.next()))
        last = last.next();

    std::size_t made = 0;
    for (QTextBlock block = first;; block = block.next()) {
        made += block.next().isValid() && isNew(block.next()) ? 1 : 0;
        if (block == last)
            break;
    }
    const bool pasted = made == incoming_.size();
    std::size_t taken = 0;
    bool blockIsNew = isNew(first);
    for (QTextBlock block = first;; block = block.next()) {
        QTextBlock next = block.next();
        if (!next.isValid())
            break;
        const bool nextIsNew = isNew(next);
        const LineEnd end = nextIsNew    ? (pasted ? incoming_[taken++] : LineEnd::CrLf)
                            : blockIsNew ? before(next)
                                         : after(block);
        setAfter(block, end);
        setBefore(next, end);
        blockIsNew = nextIsNew;
        if (block == last)
            break;
    }
}

}  // namespace tess::qt
