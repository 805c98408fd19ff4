#include "platform/qt/MultiLineTextBox.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace tess::qt {

namespace {

constexpr QChar kParagraphBreak(0x2029);
const QString kTypedLineEnd = QStringLiteral("\r\n");

// The line ends of `text` in order, one for each paragraph break Qt makes of them: CR LF, a lone
// CR, a lone LF, or a paragraph separator.
std::vector<QString> lineEndsOf(const QString& text) {
    std::vector<QString> ends;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ends.emplace_back(QStringLiteral("\r\n"));
            ++i;
        } else if (c == '\r' || c == '\n' || c == kParagraphBreak) {
            ends.emplace_back(c);
        }
    }
    return ends;
}

qsizetype breaksIn(const QString& text, qsizetype from, qsizetype to) {
    return std::count(text.begin() + from, text.begin() + to, kParagraphBreak);
}

}  // namespace

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int) { changedAt_ = std::min(changedAt_, position); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] { followChange(); });
}

void MultiLineTextBox::setText(const QString& text) {
    settingText_ = true;
    setPlainText(text);
    settingText_ = false;
    shown_ = document()->toRawText();
    lineEnds_ = lineEndsOf(text);
    lineEnds_.resize(static_cast<std::size_t>(breaksIn(shown_, 0, shown_.size())), kTypedLineEnd);
    changedAt_ = static_cast<int>(shown_.size());
}

QString MultiLineTextBox::text() const {
    return textBetween(0, shown_.size());
}

QString MultiLineTextBox::textBetween(qsizetype from, qsizetype to) const {
    from = std::clamp<qsizetype>(from, 0, shown_.size());
    to = std::clamp<qsizetype>(to, from, shown_.size());
    QString text;
    text.reserve(to - from);
    auto next = static_cast<std::size_t>(breaksIn(shown_, 0, from));
    for (qsizetype i = from; i < to; ++i) {
        if (shown_[i] != kParagraphBreak) {
            text += shown_[i];
        } else {
            text += next < lineEnds_.size() ? lineEnds_[next] : kTypedLineEnd;
            ++next;
        }
    }
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
    QPlainTextEdit::insertFromMimeData(source);
    incoming_.clear();
}

void MultiLineTextBox::followChange() {
    if (settingText_)
        return;
    const QString now = document()->toRawText();
    // The texts agree before the first change and after the last: what lies between was removed
    // from the old text and added in the new.
    const qsizetype shorter = std::min(shown_.size(), now.size());
    qsizetype prefix = 0;
    const qsizetype limit = std::min<qsizetype>(changedAt_, shorter);
    while (prefix < limit && shown_[prefix] == now[prefix])
        ++prefix;
    qsizetype suffix = 0;
    while (suffix < shorter - prefix &&
           shown_[shown_.size() - 1 - suffix] == now[now.size() - 1 - suffix])
        ++suffix;
    const auto first = static_cast<std::size_t>(breaksIn(shown_, 0, prefix));
    const auto removed = static_cast<std::size_t>(breaksIn(shown_, prefix, shown_.size() - suffix));
    const auto added = static_cast<std::size_t>(breaksIn(now, prefix, now.size() - suffix));
    lineEnds_.erase(
        lineEnds_.begin() + static_cast<std::ptrdiff_t>(std::min(first, lineEnds_.size())),
        lineEnds_.begin() +
            static_cast<std::ptrdiff_t>(std::min(first + removed, lineEnds_.size())));
    std::vector<QString> inserted(added, kTypedLineEnd);
    if (incoming_.size() == added)
        inserted = incoming_;
    lineEnds_.insert(
        lineEnds_.begin() + static_cast<std::ptrdiff_t>(std::min(first, lineEnds_.size())),
        inserted.begin(), inserted.end());
    shown_ = now;
    changedAt_ = static_cast<int>(now.size());
}

}  // namespace tess::qt
