#include "platform/qt/MultiLineTextBox.h"

#include <QMimeData>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

namespace tess::qt {

namespace {

constexpr QChar kParagraphBreak(0x2029);

qsizetype breaksIn(const QString& text, qsizetype from, qsizetype to) {
    return std::count(text.begin() + from, text.begin() + to, kParagraphBreak);
}

}  // namespace

// The line ends of `text` in order, one for each paragraph break Qt makes of them: CR LF, a lone
// CR, a lone LF, or a paragraph separator.
std::vector<MultiLineTextBox::LineEnd> MultiLineTextBox::lineEndsOf(const QString& text) {
    std::vector<LineEnd> ends;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ends.push_back(LineEnd::CrLf);
            ++i;
        } else if (c == '\r') {
            ends.push_back(LineEnd::Cr);
        } else if (c == '\n') {
            ends.push_back(LineEnd::Lf);
        } else if (c == kParagraphBreak) {
            ends.push_back(LineEnd::Paragraph);
        }
    }
    return ends;
}

QString MultiLineTextBox::textOf(LineEnd end) {
    switch (end) {
        case LineEnd::Cr:
            return QStringLiteral("\r");
        case LineEnd::Lf:
            return QStringLiteral("\n");
        case LineEnd::Paragraph:
            return QString(kParagraphBreak);
        case LineEnd::CrLf:
            break;
    }
    return QStringLiteral("\r\n");
}

MultiLineTextBox::MultiLineTextBox(QWidget* parent) : QPlainTextEdit(parent) {
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position, int, int) { changedAt_ = std::min(changedAt_, position); });
    connect(this, &QPlainTextEdit::textChanged, this, [this] { followChange(); });
}

void MultiLineTextBox::setText(QString text) {
    lineEnds_ = lineEndsOf(text);
    settingText_ = true;
    setPlainText(text);
    settingText_ = false;
    // The document holds its own copy now; a long text is not kept three times over.
    text = QString();
    shown_ = QString();
    shown_ = document()->toRawText();
    lineEnds_.resize(static_cast<std::size_t>(breaksIn(shown_, 0, shown_.size())), LineEnd::CrLf);
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
            text += textOf(next < lineEnds_.size() ? lineEnds_[next] : LineEnd::CrLf);
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
    std::vector<LineEnd> inserted(added, LineEnd::CrLf);
    if (incoming_.size() == added)
        inserted = incoming_;
    lineEnds_.insert(
        lineEnds_.begin() + static_cast<std::ptrdiff_t>(std::min(first, lineEnds_.size())),
        inserted.begin(), inserted.end());
    shown_ = now;
    changedAt_ = static_cast<int>(now.size());
}

}  // namespace tess::qt
